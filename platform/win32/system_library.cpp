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

GUID hidInterfaceClass() {
    using GetHidGuidFn = void(__stdcall*)(GUID*);
    static const GUID hidClass = [] {
        GUID guid{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
        if (auto getHidGuid = systemFunction<GetHidGuidFn>(L"hid.dll", "HidD_GetHidGuid"))
            getHidGuid(&guid);
        return guid;
    }();
    return hidClass;
}
