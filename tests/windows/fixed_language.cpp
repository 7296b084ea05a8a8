// On Windows the string table follows the interface language by itself: a test's choice
// of language reaches only the terminal's own texts.
#include "resources/locale_texts.h"

void chooseLanguage(bool) {}
