#include "terminal/linux/system_text.h"

#include "session/text_encoding.h"

#include <cstdint>

namespace {

constexpr wchar_t kEscapedByte = 0xDC80;

// The length of the UTF-8 sequence at `at` and its code point; 0 where there is none.
std::size_t sequence(const std::string& bytes, std::size_t at, std::uint32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond Unicode are not UTF-8.
    if (c < least || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::wstring systemText(const std::string& bytes) {
    std::wstring text;
    for (std::size_t at = 0; at < bytes.size();) {
        std::uint32_t c = 0;
        const std::size_t length = sequence(bytes, at, c);
        if (length == 0) {
            text.push_back(static_cast<wchar_t>(kEscapedByte + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text.push_back(static_cast<wchar_t>(c));
        at += length;
    }
    return text;
}

std::string systemBytes(const std::wstring& text) {
    std::string bytes;
    for (wchar_t wide : text) {
        const auto c = static_cast<std::uint32_t>(wide);
        if (c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF) {
            bytes += static_cast<char>(c - kEscapedByte);
        } else {
            appendUtf8(bytes, c);
        }
    }
    return bytes;
}
