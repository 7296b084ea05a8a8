// Texts by their number (resources/resource_ids.h) in a language. Each program links one
// source: the executable's string table on Windows (resources/windows_texts.cpp), the
// tables generated from it elsewhere (resources/locale_texts.cpp). A program finds its
// language once, at its entry, and hands it down to everything that speaks.
#pragma once

#include <string>

enum class Language { English, German };

// The text numbered `id`; empty for a number that has no text. On Windows the string
// table of the language Windows chose for the program, which is the one its entry found
// (interfaceLanguage): there `language` names it and chooses nothing.
std::wstring loadText(Language language, unsigned id);
// The language the program speaks, as its entry finds it: on Windows the string table's
// that Windows chose, elsewhere the locale's (LC_ALL, else LC_MESSAGES, else LANG, the
// first one set and not empty: German when its language is German).
Language interfaceLanguage();
