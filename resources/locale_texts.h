// The texts of the resource scripts where there is no Windows resource lookup: the
// generated tables, English or German as the locale asks.
#pragma once

#include "resources/texts.h"

// German when the locale's language is German (LC_ALL, else LC_MESSAGES, else LANG, the
// first one set and not empty).
bool germanInterface();
// Chooses the texts' language for the process; loadText() and interfaceIsGerman() follow
// it. English until chosen.
void chooseLanguage(bool german);
