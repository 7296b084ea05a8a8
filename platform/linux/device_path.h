// Device node paths travel through the core as wide strings; on Linux they are plain
// ASCII ("/dev/hidraw3"), so each character maps to one byte.
#pragma once

#include <string>

inline std::string narrowPath(const std::wstring& path) {
    std::string out;
    for (wchar_t c : path)
        out.push_back(static_cast<char>(c));
    return out;
}

inline std::wstring widePath(const char* path) {
    std::wstring out;
    for (const char* c = path; *c != '\0'; ++c)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return out;
}
