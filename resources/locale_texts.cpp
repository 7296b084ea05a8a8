#include "resources/locale_language.h"

#include "resources/text_tables.h"

#include <cstdlib>
#include <cstring>

Language localeLanguage(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = "";
    for (const char* value : {lcAll, lcMessages, lang})
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    // "de", "de_AT.UTF-8", "de.UTF-8", "de@euro"; strchr also finds the terminating zero.
    const bool german = std::strncmp(locale, "de", 2) == 0 && std::strchr("_.@", locale[2]) != nullptr;
    return german ? Language::German : Language::English;
}

Language interfaceLanguage() {
    return localeLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::wstring loadText(Language language, unsigned id) {
    for (std::size_t i = 0; i < kTextTableSize; ++i)
        if (kTextTable[i].id == id)
            return language == Language::German ? kTextTable[i].german : kTextTable[i].english;
    return {};
}
