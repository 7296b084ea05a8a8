// A DLL named like a system DLL, planted beside the test executable: it records in the
// process's environment that it was loaded.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableW(L"PLANTED_DLL_LOADED", L"1");
    return TRUE;
}
