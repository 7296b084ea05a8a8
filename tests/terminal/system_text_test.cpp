// Arguments and file names on Linux: read as UTF-8, and back to the very bytes they came as.
#include "terminal/linux/system_text.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemText, Utf8IsReadAsTyped) {
    EXPECT_EQ(systemText("/srv/Prüfstand/€.jsonl"), L"/srv/Prüfstand/€.jsonl");
    EXPECT_EQ(systemText("\xf0\x9f\x94\xa7"), std::wstring(1, static_cast<wchar_t>(0x1F527)));
}

TEST(SystemText, AnyBytesGoBackAsTheyCame) {
    // Latin-1, a sequence cut short, an overlong slash, an encoded surrogate, beyond Unicode.
    for (const std::string bytes : {"Pr\xfc" "fstand", "ab\xc3", "\xc0\xaf", "\xed\xa0\x80",
                                    "\xf4\x90\x80\x80", "\x80\xff"}) {
        const std::wstring text = systemText(bytes);
        EXPECT_EQ(systemBytes(text), bytes);
        for (wchar_t c : text)
            EXPECT_FALSE(c == L'/' && bytes.find('/') == std::string::npos) << "no byte reads as a slash";
    }
    EXPECT_EQ(systemText("Pr\xfc").size(), 3u);
}

} // namespace
