#include "resources/locale_language.h"
#include "resources/resource_ids.h"
#include "session/session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

TEST(VersionText, LongFormTheUnitsShiftAndTheMissingController) {
    const std::pair<std::uint32_t, const wchar_t*> longForms[] = {{0x00000105, L"1.5"},
                                                                  {0x01000502, L"1.5.2"},
                                                                  {0x01020304, L"1.3.4"},
                                                                  {0x00000000, L"0.0"},
                                                                  {0xFFFFFFFF, L"255.255.255"}};
    for (const auto& [word, text] : longForms)
        EXPECT_EQ(longVersionForm(word), text) << std::hex << word;
    const std::pair<std::uint32_t, const wchar_t*> unitForms[] = {
        {0x00010203, L"2.3"}, {0x01020300, L"2.3"}, {0x05000102, L"5.1.2"}, {0, L"0.0"}};
    for (const auto& [word, text] : unitForms)
        EXPECT_EQ(unitVersionText(word), text) << std::hex << word;
    const std::pair<std::uint16_t, const wchar_t*> escForms[] = {
        {0x0300, L"3.0"}, {0x0000, L"0.0"}, {0x0A0B, L"10.11"}, {0xFFFF, L"----------"}};
    for (const auto& [word, text] : escForms)
        EXPECT_EQ(escVersionText(word), text) << std::hex << word;
}

TEST(VersionText, ProductLabelAndTitle) {
    EXPECT_EQ(productLabel(1), L"DOCKPAD");
    EXPECT_EQ(productLabel(2), L"DOCK-BOX");
    EXPECT_EQ(windowTitle(), L"NORVAX ORCA 75 LX FW Updater 3.0 ");
}

TEST(FormatText, ArgumentsInOrderAndTheBufferBound) {
    EXPECT_EQ(formatText(L"%s: %u%% 0x%08x", {L"a", 7u, 0xABCu}), L"a: 7% 0x00000abc");
    EXPECT_EQ(formatText(L"%u %u", {1u}), L"1 %u") << "a missing argument is left as it stands";
    EXPECT_EQ(formatText(L"%d %", {1u}), L"%d %") << "unknown directives are copied";
    EXPECT_EQ(formatText(L"%08x", {0xFFFFFFFFu}), L"ffffffff");
    const std::wstring long1(3000, L'x');
    EXPECT_EQ(formatText(L"%s", {long1}).size(), kLongestText);
    EXPECT_EQ(formatText(std::wstring(2047, L'y') + L"%s", {L"z"}).size(), kLongestText);
}

// The simulated platform compares as the one whose paths it is given.
TEST(SamePath, WindowsPathsIgnoreTheCaseOfAToZNodesAreExact) {
    EXPECT_TRUE(platformSamePath(L"\\\\?\\HID#VID_1F4B", L"\\\\?\\hid#vid_1f4b"));
    EXPECT_FALSE(platformSamePath(L"\\\\?\\\u00C4", L"\\\\?\\\u00E4")) << "only A to Z";
    EXPECT_FALSE(platformSamePath(L"/dev/hidraw1", L"/dev/hidraw10"));
    EXPECT_FALSE(platformSamePath(L"/dev/HIDRAW1", L"/dev/hidraw1"));
    EXPECT_TRUE(platformSamePath(L"", L""));
}

TEST(OutcomeTable, InTheOrderOfTheOutcomesWithTheirNamesAndHints) {
    const struct {
        ConnectionOutcome outcome;
        const char* name;
        unsigned hint;
    } rows[] = {
        {ConnectionOutcome::NoUnit, "no-unit", IDS_HINT_NO_UNIT},
        {ConnectionOutcome::UnitWrongMode, "wrong-mode", IDS_HINT_WRONG_MODE},
        {ConnectionOutcome::NoUpdatableEsc, "no-updatable-esc", IDS_HINT_NO_UPDATABLE_ESC},
        {ConnectionOutcome::EscIncompatible, "incompatible", IDS_HINT_INCOMPATIBLE},
        {ConnectionOutcome::ReadyToUpdate, "ready", IDS_HINT_READY},
        {ConnectionOutcome::Updated, "updated", IDS_HINT_UPDATE_DONE},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(outcomeRow(row.outcome).outcome, row.outcome);
        EXPECT_STREQ(outcomeRow(row.outcome).name, row.name);
        EXPECT_EQ(outcomeRow(row.outcome).hintText, row.hint) << row.name;
    }
}

TEST(ControlChanges, EverythingFirstThenOnlyWhatDiffers) {
    SessionView view;
    view.title = L"t";
    view.hint = L"h";
    const std::vector<ControlChange> first = controlChanges(nullptr, view);
    EXPECT_EQ(first.size(), 8u + 6u + 1u) << "every text, every row's state and Update";
    EXPECT_TRUE(controlChanges(&view, view).empty());

    SessionView next = view;
    next.hint = L"h2";
    next.versionsEnabled = false;
    const std::vector<ControlChange> changes = controlChanges(&view, next);
    ASSERT_EQ(changes.size(), 1u + 6u);
    EXPECT_EQ(changes[0].control, IDC_HINT);
    EXPECT_EQ(changes[0].text, L"h2");
    for (std::size_t i = 1; i < changes.size(); ++i) {
        EXPECT_FALSE(changes[i].isText);
        EXPECT_FALSE(changes[i].enabled);
        EXPECT_NE(changes[i].control, IDC_UPDATE);
    }
}

TEST(LogoPlace, HalfTheBitmapOrTheRoomLeftOrNothing) {
    const LogoPlace wide = logoPlace(2000, 100, 10, 1772, 263);
    EXPECT_EQ(wide.width, 886);
    EXPECT_EQ(wide.height, 131);
    EXPECT_EQ(wide.x, 120);
    EXPECT_EQ(wide.y, 10);
    EXPECT_TRUE(logoFits(wide));
    const LogoPlace narrow = logoPlace(545, 100, 10, 1772, 263); // room 400
    EXPECT_EQ(narrow.width, 400);
    EXPECT_EQ(narrow.height, 59);
    EXPECT_FALSE(logoFits(logoPlace(145, 100, 10, 1772, 263)));
    EXPECT_FALSE(logoFits(logoPlace(146, 100, 10, 1772, 263))) << "1 pixel wide, 0 high";
}

TEST(ControllerRow, OnlyItsLabelAndValue) {
    for (int control : {IDC_ESC_LABEL, IDC_ESC_VERSION})
        EXPECT_TRUE(isControllerRow(control));
    for (int control : {IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_UNIT_VERSION,
                        IDC_BOOTLOADER_VERSION, IDC_HINT, IDC_UPDATE})
        EXPECT_FALSE(isControllerRow(control));
}

TEST(ProgressWindow, CentredOnTheMainFrameByArithmeticShift) {
    const WindowCorner corner = progressWindowCorner({100, 100, 560, 500});
    EXPECT_EQ(corner.x, 130);
    EXPECT_EQ(corner.y, 275);
    const WindowCorner odd = progressWindowCorner({-301, 0, 0, 101});
    EXPECT_EQ(odd.x, -351) << "half of 301 is 150";
    EXPECT_EQ(odd.y, 25) << "half of 101 is 50";
}

TEST(ProgressWindow, StateAfterEachPartOfTheImage) {
    const std::uint32_t total = 97792; // 2,037 whole blocks and one of 16 bytes
    const ProgressState start = progressState(total, total);
    EXPECT_EQ(start.percent, 0u);
    EXPECT_EQ(start.blocksWritten, 0u);
    EXPECT_EQ(start.blocksTotal, 2038u);
    EXPECT_EQ(start.secondsLeft, 41u) << "2,038 waits of 20 ms, rounded up";
    const ProgressState one = progressState(total, total - 48);
    EXPECT_EQ(one.blocksWritten, 1u);
    EXPECT_EQ(one.secondsLeft, 41u);
    const ProgressState lastButOne = progressState(total, 16);
    EXPECT_EQ(lastButOne.blocksWritten, 2037u);
    EXPECT_EQ(lastButOne.percent, 99u) << "100 only when nothing remains";
    EXPECT_EQ(lastButOne.secondsLeft, 1u);
    const ProgressState done = progressState(total, 0);
    EXPECT_EQ(done.percent, 100u);
    EXPECT_EQ(done.blocksWritten, 2038u);
    EXPECT_EQ(done.secondsLeft, 0u);
}

TEST(InterfaceLanguage, FollowsTheFirstSetLocaleVariable) {
    struct Case {
        const char *all, *messages, *lang;
        bool german;
    };
    for (const Case& c :
         {Case{"de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", true},
          Case{"", "de_AT.UTF-8", "en_US.UTF-8", true}, Case{nullptr, nullptr, "de", true},
          Case{nullptr, nullptr, "de@euro", true},
          Case{"en_GB.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", false},
          Case{nullptr, nullptr, "dex_DE", false}, Case{nullptr, nullptr, "C", false},
          Case{nullptr, nullptr, nullptr, false}}) {
        EXPECT_EQ(localeLanguage(c.all, c.messages, c.lang) == Language::German, c.german)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(InterfaceLanguage, TextsInTheLanguageAsked) {
    EXPECT_EQ(loadText(Language::German, IDS_LABEL_UNIT), L"Programmiereinheit");
    EXPECT_EQ(loadText(Language::English, IDS_LABEL_UNIT), L"programming unit");
    EXPECT_EQ(loadText(Language::German, 4711), L"");
}
