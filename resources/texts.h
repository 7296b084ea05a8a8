// Texts by their number (resources/resource_ids.h) in the interface language. Each
// program links one source: the executable's string table on Windows
// (resources/windows_texts.cpp), the tables generated from it elsewhere
// (resources/locale_texts.cpp).
#pragma once

#include <string>

// Empty for a number that has no text.
std::wstring loadText(unsigned id);
// Whether the texts are German: what the program's own texts outside the tables follow,
// so that every front end of a platform speaks one language.
bool interfaceIsGerman();
