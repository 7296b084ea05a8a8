// What comes from outside (arguments, device names) as a terminal may show it: a control
// character would move its cursor, clear it or set its title, so it is written as \xHH.
#pragma once

#include <cstddef>
#include <string>

std::wstring shownSafely(const std::wstring& text);
// The first `columns` characters of a UTF-8 line, never cutting one in two.
std::string firstColumns(const std::string& line, std::size_t columns);
