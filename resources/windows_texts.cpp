// Texts from the executable's own string table; Windows picks the interface language.
#include "resources/texts.h"

#include "resources/resource_ids.h"

#include <windows.h>

std::wstring loadText(Language, unsigned id) {
    wchar_t buffer[2048];
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 2048);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The table Windows chose says which it is.
Language interfaceLanguage() {
    return loadText(Language::English, IDS_LANGUAGE) == L"de" ? Language::German
                                                              : Language::English;
}
