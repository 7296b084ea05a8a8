#include "platform/win32/system_library.h"

#include <map>
#include <mutex>
#include <string>

HMODULE loadSystemLibrary(const wchar_t* name) {
    static std::mutex lock;
    static std::map<std::wstring, HMODULE> loaded;
    std::lock_guard<std::mutex> guard(lock);
    auto known = loaded.find(name);
    if (known != loaded.end())
        return known->second;
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    loaded.emplace(name, module);
    return module;
}

void restrictDllSearchToSystem() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
