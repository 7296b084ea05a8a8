// The resources as the executable carries them: texts, template, logo, icon, manifest.
#include "resources/resource_ids.h"
#include "tests/windows/dialog_template.h"
#include "tests/windows/resource_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const UINT kTextIds[] = {IDS_HINT_READY,
                         IDS_HINT_INSTRUCTIONS,
                         IDS_UPDATE_FAILED_CAPTION,
                         IDS_FAIL_SET_ADDRESS,
                         IDS_FAIL_WRITE_BLOCK,
                         IDS_REGISTRATION_FAILED,
                         IDS_REGISTRATION_FAILED_CAPTION,
                         IDS_HINT_WRONG_MODE,
                         IDS_HINT_NO_UPDATABLE_ESC,
                         IDS_HINT_NO_UNIT,
                         IDS_HINT_CONNECTION_LOST,
                         IDS_FAIL_NO_UNIT,
                         IDS_CONFIRM_OLDER_IMAGE,
                         IDS_CONFIRM_OLDER_IMAGE_CAPTION,
                         IDS_FAIL_LOCK,
                         IDS_FAIL_WRITE_PROTECT,
                         IDS_FAIL_ERASE,
                         IDS_PROGRESS_TITLE,
                         IDS_HINT_UPDATE_FAILED,
                         IDS_HINT_UPDATE_DONE,
                         IDS_INCOMPATIBLE_CAPTION,
                         IDS_INCOMPATIBLE_MESSAGE,
                         IDS_HINT_INCOMPATIBLE,
                         IDS_ERROR_CODE_LINE,
                         IDS_CONFIRM_UPDATE_CAPTION,
                         IDS_CONFIRM_UPDATE,
                         IDS_LABEL_UNIT,
                         IDS_LABEL_BOOTLOADER,
                         IDS_LABEL_ESC};

std::size_t count(const std::wstring& text, const std::wstring& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(Texts, EveryIdExistsInBothLanguagesAndFitsTheBuffer) {
    for (UINT id : kTextIds) {
        for (WORD language : {kEnglish, kGerman}) {
            bool found = false;
            std::wstring text = stringIn(id, language, &found);
            EXPECT_TRUE(found) << id << " in " << language;
            EXPECT_LT(text.size(), 2048u) << id;
        }
    }
}

TEST(Texts, OddSpacingSurvivesTheResourceCompiler) {
    EXPECT_EQ(stringIn(IDS_REGISTRATION_FAILED, kEnglish),
              L"Failed to register Windows Device Manager. New devices on USB port cannot be "
              L"detected.The program is closed.");
    EXPECT_NE(stringIn(IDS_CONFIRM_OLDER_IMAGE, kEnglish).find(L"firmware version.  If you"),
              std::wstring::npos);
    const std::wstring ready = stringIn(IDS_HINT_READY, kEnglish);
    EXPECT_EQ(ready.find(L"click on the 'Update'-Button.\r\n\r\n!!!  NOTE:"), 91u);
    EXPECT_EQ(ready.substr(ready.size() - 13), L"function  !!!");
    EXPECT_EQ(stringIn(IDS_ERROR_CODE_LINE, kEnglish),
              L"The system shows following errorcode: 0x%08x-0x%08x");
}

TEST(Texts, UmlautsTrademarkAndLineBreaksArriveAsUtf16) {
    const std::wstring de = stringIn(IDS_HINT_INSTRUCTIONS, kGerman);
    EXPECT_NE(de.find(L"Ihrem Windows\u2122PC."), std::wstring::npos);
    EXPECT_NE(de.find(L"Empf\u00e4nger"), std::wstring::npos);
    EXPECT_NE(de.find(L"anschlie\u00dfend"), std::wstring::npos);
    EXPECT_EQ(count(de, L"\r\n"), 11u);
    EXPECT_EQ(count(de, L"\n"), 11u) << "no lone line feeds";
    EXPECT_EQ(de.find(L"\\"), std::wstring::npos) << "escapes were decoded";
    EXPECT_EQ(count(stringIn(IDS_HINT_INSTRUCTIONS, kEnglish), L"\r\n"), 11u);
    EXPECT_EQ(stringIn(IDS_ERROR_CODE_LINE, kGerman),
              L"Das System meldet Fehlercode 0x%08x-0x%08x");
    EXPECT_EQ(stringIn(IDS_INCOMPATIBLE_MESSAGE, kGerman).substr(0, 43),
              L"Mit diesem Updater l\u00e4\u00dft sich ausschlie\u00dflich");
    EXPECT_EQ(stringIn(IDS_CONFIRM_UPDATE_CAPTION, kEnglish), L"important note");
    EXPECT_EQ(stringIn(IDS_LABEL_BOOTLOADER, kGerman), L"Regler-Bootloader");
}

TEST(Texts, IncompatibilityFormatTakesTheModelOnce) {
    for (WORD language : {kEnglish, kGerman}) {
        const std::wstring text = stringIn(IDS_INCOMPATIBLE_MESSAGE, language);
        EXPECT_EQ(count(text, L"%"), 1u);
        EXPECT_EQ(count(text, L"'%s'"), 1u);
        EXPECT_EQ(count(text, L"www.norvax.example"), 1u);
    }
}

TEST(MainDialogTemplate, LaidOutAlikeInBothLanguages) {
    for (WORD language : {kEnglish, kGerman}) {
        const BYTE* raw = rawResource(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN), language);
        ASSERT_NE(raw, nullptr) << language;
        DialogTemplate d = decodeTemplate(raw);
        ASSERT_TRUE(d.extended);
        EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                              DS_CENTER | DS_SETFONT | DS_FIXEDSYS));
        EXPECT_EQ(d.exStyle, 0u);
        EXPECT_EQ(d.style & WS_VISIBLE, 0u);
        EXPECT_EQ(d.x, 0);
        EXPECT_EQ(d.y, 0);
        EXPECT_EQ(d.cx, 300);
        EXPECT_EQ(d.cy, 228);
        EXPECT_TRUE(d.menu.empty());
        EXPECT_TRUE(d.windowClass.empty());
        EXPECT_EQ(d.typeface, L"MS Shell Dlg");
        EXPECT_EQ(d.pointSize, 8);
        EXPECT_EQ(d.weight, 0);
        EXPECT_EQ(d.italic, 0);
        EXPECT_EQ(d.charset, 1);

        struct Expected {
            int id;
            const wchar_t* windowClass;
            DWORD style, exStyle;
            short x, y, cx, cy;
        };
        const DWORD base = WS_CHILD | WS_VISIBLE;
        const Expected expected[] = {
            {2, L"Button", base | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 157, 199, 50, 14},
            {1002, L"Button", base | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0, 61, 199, 50, 14},
            {40010, L"Static", base | WS_GROUP | SS_LEFT, 0, 22, 24, 60, 8},
            {1005, L"Static", base | WS_GROUP | SS_LEFT, 0, 22, 37, 60, 8},
            {40013, L"Static", base | WS_GROUP | SS_LEFT, WS_EX_RIGHT, 90, 24, 50, 8},
            {40014, L"Static", base | WS_GROUP | SS_LEFT, WS_EX_RIGHT, 90, 37, 50, 8},
            {40004, L"Edit",
             base | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 0, 15, 89,
             271, 101},
            {0xFFFF, L"Static", base | WS_GROUP | SS_LEFT, 0, 15, 79, 49, 8},
            {40007, L"Button", base | WS_GROUP | BS_GROUPBOX, 0, 15, 10, 135, 57},
            {40011, L"Static", base | WS_GROUP | SS_LEFT, 0, 22, 50, 60, 8},
            {40015, L"Static", base | WS_GROUP | SS_LEFT, WS_EX_RIGHT, 90, 50, 50, 8},
        };
        ASSERT_EQ(d.items.size(), std::size(expected));
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const TemplateItem& item = d.items[i];
            const Expected& e = expected[i];
            EXPECT_EQ(item.id & 0xFFFF, e.id) << i;
            EXPECT_EQ(_wcsicmp(item.windowClass.c_str(), e.windowClass), 0) << e.id;
            EXPECT_EQ(item.style, e.style) << e.id;
            EXPECT_EQ(item.exStyle, e.exStyle) << e.id;
            EXPECT_EQ(item.x, e.x) << e.id;
            EXPECT_EQ(item.y, e.y) << e.id;
            EXPECT_EQ(item.cx, e.cx) << e.id;
            EXPECT_EQ(item.cy, e.cy) << e.id;
        }
        const bool german = language == kGerman;
        EXPECT_EQ(d.caption, german ? L"NORVAX Firmware Updater" : L"NORVAX firmware updater");
        EXPECT_EQ(d.items[0].text, german ? L"Beenden" : L"Close");
        EXPECT_EQ(d.items[1].text, L"Update");
        EXPECT_EQ(d.items[2].text, L"Firmware 1:");
        EXPECT_EQ(d.items[4].text, L"0.00.00");
        EXPECT_EQ(d.items[6].text, L"");
        EXPECT_EQ(d.items[7].text, german ? L"Hinweisfenster:" : L"Hint:");
        EXPECT_EQ(d.items[8].text,
                  german ? L"Installierte Firmware Versionen" : L"Installed firmware version");
    }
}

TEST(Artwork, LogoIsAnUncompressedBottomUpRedOnGreenBitmap) {
    HBITMAP logo = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LOGO));
    ASSERT_NE(logo, nullptr);
    BITMAP info{};
    GetObjectW(logo, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 1772);
    EXPECT_EQ(info.bmHeight, 263);
    DeleteObject(logo);

    DWORD size = 0;
    const BYTE* raw = rawResource(RT_BITMAP, MAKEINTRESOURCEW(IDB_LOGO), kGerman, &size);
    ASSERT_NE(raw, nullptr);
    BITMAPINFOHEADER header;
    memcpy(&header, raw, sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biHeight, 263) << "positive: bottom-up";
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biClrUsed, 0u);
    ASSERT_EQ(size, 40u + 1772u * 3 * 263);
    std::size_t green = 0;
    std::size_t offRed = 0;
    for (const BYTE* p = raw + 40; p < raw + size; p += 3) {
        const BYTE b = p[0], g = p[1], r = p[2];
        if (r == 0 && g == 255 && b == 0)
            ++green;
        else if (!(r > g && g == b))
            ++offRed;
    }
    EXPECT_EQ(offRed, 0u) << "every pixel is the transparent green or a shade of red";
    EXPECT_GT(green, 1772u * 263 / 4);
    EXPECT_LT(green, 1772u * 263 * 9 / 10);
}

TEST(Artwork, IconGroupHoldsFiveSizesWithAlpha) {
    const BYTE* raw = rawResource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP), kGerman);
    ASSERT_NE(raw, nullptr);
    WORD header[3];
    memcpy(header, raw, sizeof header);
    ASSERT_EQ(header[2], 5);
    std::vector<int> sizes;
    for (int i = 0; i < 5; ++i) {
        const BYTE* entry = raw + 6 + 14 * i; // GRPICONDIRENTRY
        sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
        WORD bits;
        memcpy(&bits, entry + 6, 2);
        EXPECT_EQ(bits, 32);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 64, 128}));
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 48, 48, 0));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(Artwork, BinaryResourcesExistOnceTaggedGerman) {
    const std::vector<WORD> german{kGerman};
    EXPECT_EQ(languagesOf(RT_BITMAP, MAKEINTRESOURCEW(IDB_LOGO)), german);
    EXPECT_EQ(languagesOf(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP)), german);
    EXPECT_EQ(languagesOf(RT_RCDATA, MAKEINTRESOURCEW(IDR_FIRMWARE_IMAGE)), german);
    EXPECT_EQ(languagesOf(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN)),
              (std::vector<WORD>{kEnglish, kGerman}));
}

TEST(Manifest, AsksForTheInvokersRightsAndNothingElse) {
    DWORD size = 0;
    const BYTE* raw = rawResource(RT_MANIFEST, MAKEINTRESOURCEW(1),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &size);
    ASSERT_NE(raw, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(raw), size);
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

TEST(VersionInfo, NamesProductMakerAndVersion) {
    DWORD size = 0;
    const BYTE* raw = rawResource(RT_VERSION, MAKEINTRESOURCEW(1),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &size);
    ASSERT_NE(raw, nullptr);
    const std::wstring text(reinterpret_cast<const wchar_t*>(raw), size / 2);
    EXPECT_NE(text.find(L"ProductName"), std::wstring::npos);
    EXPECT_NE(text.find(L"NORVAX ORCA 75 LX FW Updater"), std::wstring::npos);
    EXPECT_NE(text.find(L"CompanyName"), std::wstring::npos);
    const BYTE* fixed = nullptr;
    for (DWORD i = 0; i + 4 <= size; i += 4)
        if (*reinterpret_cast<const DWORD*>(raw + i) == 0xFEEF04BD)
            fixed = raw + i;
    ASSERT_NE(fixed, nullptr);
    VS_FIXEDFILEINFO info;
    memcpy(&info, fixed, sizeof info);
    EXPECT_EQ(info.dwFileVersionMS, 0x00030000u);
    EXPECT_EQ(info.dwProductVersionMS, 0x00030000u);
}
