// What comes from outside (arguments, device names) as a terminal may show it: a control
// character would move its cursor, clear it or set its title, so it is written as \xHH.
#pragma once

#include <string>

std::wstring shownSafely(const std::wstring& text);
