// Texts as bytes for a console or a browser page.
#pragma once

#include <cstdint>
#include <string>

// One code point (at most U+10FFFF) appended as UTF-8.
void appendUtf8(std::string& out, std::uint32_t codePoint);
// UTF-8 as a text (UTF-16 on Windows); a byte that does not belong to a well-formed
// character becomes U+FFFD.
std::wstring textFromUtf8(const std::string& utf8);
// A text as UTF-8, its "\r\n" line breaks as "\n"; a lone surrogate as U+FFFD.
std::string utf8Lines(const std::wstring& text);
// A JSON string literal of a text, its characters as they are ("\r\n" as "\r\n"); a lone
// surrogate as U+FFFD.
std::string jsonString(const std::wstring& text);
