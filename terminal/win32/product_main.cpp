// The terminal edition: the real programming unit through SetupAPI and hid.dll.
#include "platform/win32/system_library.h"
#include "terminal/win32/run_program.h"

int wmain(int argc, wchar_t** argv) {
    restrictDllSearchToSystem();
    return runTerminalProgram(argc, argv);
}
