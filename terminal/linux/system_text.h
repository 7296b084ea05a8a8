// Text between the terminal edition and Linux: arguments and file names are bytes, read as
// UTF-8. A byte that is not part of UTF-8 is kept as U+DC80 + byte (shown as U+FFFD), so
// that every name goes back to the system as the very bytes it came as.
#pragma once

#include <string>

std::wstring systemText(const std::string& bytes);
std::string systemBytes(const std::wstring& text);
