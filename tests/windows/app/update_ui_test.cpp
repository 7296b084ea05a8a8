#include "app/window_thread.h"
#include "resources/generate/firmware_pattern.h"
#include "tests/windows/app/dialog_harness.h"
#include "update/update_procedure.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <thread>

// What an update shows and when is the session's rule (tests/session); here the real boxes,
// their owner, the real progress window and the dialog's own ways to close.
class UpdateUi : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        image = standInImage();
        simSetFirmwareImage(image);
    }
    int readyUnit(std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.escFirmwareVersion = installed;
        int unit = simAddUnit(kUnitPath, config);
        start();
        EXPECT_TRUE(enabled(IDC_UPDATE));
        return unit;
    }
    void pressUpdateAndWait() {
        press(IDC_UPDATE);
        ASSERT_TRUE(pumpUntil([this] { return !session().updateRunning(); }, 90000));
        pump();
    }
    std::wstring failureMessage(UINT text, std::int32_t code, std::uint32_t lastError) {
        wchar_t line[2048];
        swprintf_s(line, 2048, loadIn(IDS_ERROR_CODE_LINE).c_str(), static_cast<unsigned>(code),
                   lastError);
        return loadIn(text) + L"\r\n" + line;
    }
    void expectWaitingAfterFailure() {
        EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_FAILED));
        EXPECT_FALSE(enabled(IDC_UPDATE));
        EXPECT_FALSE(unitOpen());
        EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
        EXPECT_FALSE(enabled(IDC_ESC_VERSION));
    }
    std::vector<std::uint8_t> image;
};

TEST_F(UpdateUi, SuccessfulUpdateShowsTheNewVersion) {
    int unit = readyUnit();
    pressUpdateAndWait();
    ASSERT_EQ(boxesSeen.size(), 1u);
    EXPECT_EQ(boxesSeen[0].caption, loadIn(IDS_CONFIRM_UPDATE_CAPTION));
    EXPECT_EQ(boxesSeen[0].text, loadIn(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(boxesSeen[0].owner, dialog);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_DONE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"3.0");
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_TRUE(unitOpen());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_EQ(ownProgressWindow(), nullptr) << "the progress window is gone";
}

TEST_F(UpdateUi, SameVersionAsksTwiceAndNoStopsIt) {
    readyUnit(0x0300);
    boxAnswers = {IDOK, IDNO};
    pressUpdateAndWait();
    ASSERT_EQ(boxesSeen.size(), 2u);
    EXPECT_EQ(boxesSeen[1].caption, loadIn(IDS_CONFIRM_OLDER_IMAGE_CAPTION));
    EXPECT_EQ(boxesSeen[1].text, loadIn(IDS_CONFIRM_OLDER_IMAGE));
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY)) << "still ready";
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_EQ(simTranscript().size(), 3u) << "only identification reached the unit";
}

// A click that raced a removal, or a command sent to the window, with no unit open: the
// missing unit's failure, without a code line, in a box of the dialog.
TEST_F(UpdateUi, UpdateWithNoUnitSaysThatNoneIsThere) {
    start();
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    pump();
    ASSERT_EQ(boxesSeen.size(), 1u);
    EXPECT_EQ(boxesSeen[0].caption, loadIn(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(boxesSeen[0].text, loadIn(IDS_FAIL_NO_UNIT));
    EXPECT_EQ(boxesSeen[0].owner, dialog);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_FAILED));
    EXPECT_TRUE(simTranscript().empty());
}

// The controller swapped while the confirmation is open: the other model's message, then
// a warning of the dialog saying why nothing was written.
TEST_F(UpdateUi, AControllerSwappedDuringTheConfirmationIsShownAndNotWritten) {
    const int unit = readyUnit();
    whileBoxOpen = [unit](const SeenBox& box) {
        if (box.caption == loadIn(IDS_CONFIRM_UPDATE_CAPTION))
            simSwapController(unit, 0x0BADC0DE, 0x0909);
    };
    pressUpdateAndWait();
    ASSERT_EQ(boxesSeen.size(), 3u);
    EXPECT_EQ(boxesSeen[1].caption, loadIn(IDS_INCOMPATIBLE_CAPTION));
    EXPECT_EQ(boxesSeen[2].caption, loadIn(IDS_CONTROLLER_CHANGED_CAPTION));
    EXPECT_EQ(boxesSeen[2].text, loadIn(IDS_CONTROLLER_CHANGED));
    EXPECT_EQ(boxesSeen[2].owner, dialog);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_INCOMPATIBLE) + L"\r\n\r\n" + loadIn(IDS_HINT_INSTRUCTIONS));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    for (const SimExchange& e : simTranscript())
        EXPECT_NE(e.request[1], SYSTEM_LOCK);
}

struct UiFailure {
    const char* name;
    SimFault fault;
    UINT text;
    std::int32_t code;
    std::uint32_t lastError;
};

void PrintTo(const UiFailure& c, std::ostream* out) {
    *out << c.name;
}

class UpdateUiFailure : public UpdateUi, public ::testing::WithParamInterface<UiFailure> {};

TEST_P(UpdateUiFailure, ReportsTheStepWithItsCodes) {
    const UiFailure& c = GetParam();
    int unit = readyUnit();
    simAddFault(unit, c.fault);
    pressUpdateAndWait();
    ASSERT_EQ(boxesSeen.size(), 2u);
    EXPECT_EQ(boxesSeen[1].caption, loadIn(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(boxesSeen[1].text, failureMessage(c.text, c.code, c.lastError));
    EXPECT_EQ(boxesSeen[1].owner, dialog);
    expectWaitingAfterFailure();
}

// Every step's text and codes are the session's rule; here real boxes show two of them.
INSTANTIATE_TEST_SUITE_P(
    RealBoxes, UpdateUiFailure,
    ::testing::Values(
        UiFailure{
            "LockRead", {SimFaultKind::ReadFails, SYSTEM_LOCK, 1, 0, 31}, IDS_FAIL_LOCK, -3, 31},
        UiFailure{"Block",
                  {SimFaultKind::ReadFails, WRITE_BLOCK, 100, 0, 31},
                  IDS_FAIL_WRITE_BLOCK,
                  -3,
                  31}),
    [](const ::testing::TestParamInfo<UiFailure>& info) { return info.param.name; });

TEST_F(UpdateUi, CodeLineReadsAsTheUserSeesIt) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::ReadFails, SYSTEM_LOCK, 1, 0, 31});
    pressUpdateAndWait();
    ASSERT_EQ(boxesSeen.size(), 2u);
    const std::wstring& message = boxesSeen[1].text;
    EXPECT_EQ(message.substr(message.size() - 21), L"0xfffffffd-0x0000001f");
}

TEST_F(UpdateUi, CloseAndRemovalDuringTheRunWaitForItsEnd) {
    int unit = readyUnit();
    press(IDC_UPDATE);
    ASSERT_TRUE(session().updateRunning());
    EXPECT_FALSE(enabled(IDC_UPDATE));
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "Close is ignored while the update runs";
    remove(kUnitPath);
    EXPECT_TRUE(unitOpen()) << "the record is not touched during the run";
    ASSERT_TRUE(pumpUntil([this] { return !session().updateRunning(); }, 90000));
    pump();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_FALSE(unitOpen()) << "the removal was handled after the run";
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
    EXPECT_FALSE(enabled(IDC_UPDATE));
}

TEST_F(UpdateUi, ProgressWindowRefusesToCloseUntilTheUpdateEnds) {
    readyUnit();
    press(IDC_UPDATE);
    ASSERT_TRUE(pumpUntil([] { return ownProgressWindow() != nullptr; }, 90000));
    HWND progress = ownProgressWindow();
    SendMessageW(progress, WM_CLOSE, 0, 0); // as Alt+F4 asks
    EXPECT_TRUE(IsWindow(progress)) << "refused while the update runs";
    ASSERT_TRUE(pumpUntil([this] { return !session().updateRunning(); }, 90000));
    pump();
    EXPECT_FALSE(IsWindow(progress)) << "it goes when the update ends";
    EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_DONE));
}
