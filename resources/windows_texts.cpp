// Texts from the executable's own string table; Windows picks the interface language.
#include "update/texts.h"

#include <windows.h>

std::wstring loadText(unsigned id) {
    wchar_t buffer[2048];
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 2048);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}
