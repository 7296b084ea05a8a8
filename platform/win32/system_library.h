// DLLs are taken from the system directory only: a DLL planted beside the executable
// (a Downloads folder, say) must never be loaded in their place. Each DLL is loaded once
// per process, and each caller keeps the functions it looks up in a function-local
// static, so that every function is resolved once.
#pragma once

#include <windows.h>

// The system DLL, loaded on first use and kept for the life of the process; null when the
// system has none of that name.
HMODULE loadSystemLibrary(const wchar_t* name);

// The named function of a system DLL, or null.
template <typename Function> Function systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = loadSystemLibrary(library);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// First thing in every entry function, before anything can load a DLL.
void restrictDllSearchToSystem();
