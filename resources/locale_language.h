// The language a locale asks for, where no Windows resource lookup chooses: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty; German when its language is.
#pragma once

#include "resources/texts.h"

// Each may be null (not set).
Language localeLanguage(const char* lcAll, const char* lcMessages, const char* lang);
