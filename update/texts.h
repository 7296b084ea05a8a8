// Texts by their number (resources/resource_ids.h) in the interface language. Each
// program links one source: the executable's string table on Windows, the tables
// generated from it elsewhere.
#pragma once

#include <string>

// Empty for a number that has no text.
std::wstring loadText(unsigned id);
