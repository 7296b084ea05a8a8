#include "resources/texts.h"

#include "resources/text_tables.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* localeValue() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "";
}

} // namespace

Language interfaceLanguage() {
    const char* locale = localeValue();
    // "de", "de_AT.UTF-8", "de.UTF-8", "de@euro"; strchr also finds the terminating zero.
    const bool german = std::strncmp(locale, "de", 2) == 0 && std::strchr("_.@", locale[2]) != nullptr;
    return german ? Language::German : Language::English;
}

std::wstring loadText(Language language, unsigned id) {
    for (std::size_t i = 0; i < kTextTableSize; ++i)
        if (kTextTable[i].id == id)
            return language == Language::German ? kTextTable[i].german : kTextTable[i].english;
    return {};
}
