#include "terminal/shown_text.h"

std::wstring shownSafely(const std::wstring& text) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring shown;
    for (wchar_t c : text) {
        const auto code = static_cast<unsigned long>(c);
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            shown += L"\\x";
            shown += digits[code >> 4];
            shown += digits[code & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string firstColumns(const std::string& line, std::size_t columns) {
    std::size_t shown = 0;
    for (std::size_t at = 0; at < line.size(); ++at) {
        // A character starts at any byte that does not continue one.
        if ((static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 && shown++ == columns)
            return line.substr(0, at);
    }
    return line;
}
