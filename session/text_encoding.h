// Texts as bytes for a console or a browser page.
#pragma once

#include <string>

// A text as UTF-8, its "\r\n" line breaks as "\n"; a lone surrogate as U+FFFD.
std::string utf8Lines(const std::wstring& text);
// A JSON string literal of a text, its characters as they are ("\r\n" as "\r\n"); a lone
// surrogate as U+FFFD.
std::string jsonString(const std::wstring& text);
