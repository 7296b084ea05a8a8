// Reads the executable's own resources in a given language, the way the loader stores them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL);
constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

inline const BYTE* rawResource(const wchar_t* type, const wchar_t* name, WORD language,
                               DWORD* size = nullptr) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(self, type, name, language);
    if (found == nullptr)
        return nullptr;
    if (size != nullptr)
        *size = SizeofResource(self, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
}

// A string-table entry; `found` tells an empty entry from a missing one.
inline std::wstring stringIn(UINT id, WORD language, bool* found = nullptr) {
    const BYTE* block = rawResource(RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found != nullptr)
        *found = false;
    if (block == nullptr)
        return {};
    const WCHAR* p = reinterpret_cast<const WCHAR*>(block);
    for (UINT i = 0; i < id % 16; ++i)
        p += 1 + *p;
    if (found != nullptr)
        *found = *p != 0;
    return std::wstring(p + 1, *p);
}

inline std::vector<WORD> languagesOf(const wchar_t* type, const wchar_t* name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(
        GetModuleHandleW(nullptr), type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}
