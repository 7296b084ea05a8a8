// Texts as UTF-8 and as JSON strings, for what is not a window: a console, a browser.
#include "session/text_encoding.h"

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

// Code points of a text; UTF-16 surrogate pairs (Windows) joined. A surrogate without its
// partner, or anything beyond Unicode, has no UTF-8 form: it becomes U+FFFD.
template <typename Each> void forEachCodePoint(const std::wstring& text, Each each) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const std::uint32_t low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
            c = kReplacement;
        each(c);
    }
}

} // namespace

std::wstring textFromUtf8(const std::string& utf8) {
    std::wstring out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const std::size_t more = b < 0x80 ? 0 : b >= 0xC2 && b < 0xE0 ? 1 : b >= 0xE0 && b < 0xF0 ? 2
                                 : b >= 0xF0 && b < 0xF5 ? 3 : 4;
        std::uint32_t c = more == 0 ? b : b & (0x3F >> more);
        std::size_t k = 1;
        for (; more < 4 && k <= more && i + k < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
             ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (more == 4 || k != more + 1 || c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += static_cast<wchar_t>(kReplacement);
            i += more == 4 ? 1 : k;
            continue;
        }
        i += k;
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf8Lines(const std::wstring& text) {
    std::string out;
    forEachCodePoint(text, [&](std::uint32_t c) {
        if (c != '\r')
            appendUtf8(out, c);
    });
    return out;
}

std::string jsonString(const std::wstring& text) {
    std::string out = "\"";
    forEachCodePoint(text, [&](std::uint32_t c) {
        static const char hex[] = "0123456789abcdef";
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            appendUtf8(out, c);
        }
    });
    return out + "\"";
}
