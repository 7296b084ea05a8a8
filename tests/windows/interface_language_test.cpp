// Run once per interface language: the platform's lookup, not the code, picks the texts
// and the template. EXPECTED_TEXTS names the language that must come out: de or en.
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

bool expectGerman() {
    const char* expected = std::getenv("EXPECTED_TEXTS");
    return expected != nullptr && std::string(expected) == "de";
}

std::wstring loaded(UINT id) {
    wchar_t buffer[2048];
    int n = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 2048);
    return std::wstring(buffer, n > 0 ? n : 0);
}

INT_PTR CALLBACK noHandling(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

std::wstring textOf(HWND window) {
    wchar_t buffer[256];
    int n = GetWindowTextW(window, buffer, 256);
    return std::wstring(buffer, n);
}

} // namespace

TEST(InterfaceLanguage, TextsFollowIt) {
    const bool german = expectGerman();
    EXPECT_EQ(loaded(IDS_UPDATE_FAILED_CAPTION),
              german ? L"Update fehlgeschlagen!" : L"Update failed!");
    EXPECT_EQ(loaded(IDS_LABEL_ESC), german ? L"Regler" : L"ESC");
    EXPECT_EQ(loaded(IDS_CONFIRM_OLDER_IMAGE_CAPTION),
              german ? L"Neuere Firmware gefunden" : L"Newer firmware found.");
    if (german) {
        EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN);
    }
}

TEST(InterfaceLanguage, TemplateFollowsIt) {
    const bool german = expectGerman();
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                     noHandling, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(textOf(dialog), german ? L"NORVAX Firmware Updater" : L"NORVAX firmware updater");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_CLOSE)), german ? L"Beenden" : L"Close");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_VERSION_GROUP)),
              german ? L"Installierte Firmware Versionen" : L"Installed firmware version");
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the template is not visible by itself";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_UPDATE)));
    DestroyWindow(dialog);
}
