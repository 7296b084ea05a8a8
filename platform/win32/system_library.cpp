#include "platform/win32/system_library.h"

HMODULE loadSystemLibrary(const wchar_t* name) {
    // Loaded once for the life of the process; the loader keeps one reference.
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void restrictDllSearchToSystem() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
