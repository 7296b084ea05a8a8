// What is written is what was on the screen: the unit identified again between the last
// confirmation and the lock, the image checked against its digest, and the controller's
// erased flash after an update that was cut off.
#include "tests/session/update_runner_fixture.h"
#include "unitlink/unit_connection.h"
#include "update/sha256.h"

#include <algorithm>

namespace {

class Recheck : public UpdateRunner {
  protected:
    static bool anyRequest(std::uint8_t command) {
        const std::vector<SimExchange> transcript = simTranscript();
        return std::any_of(transcript.begin(), transcript.end(),
                           [&](const SimExchange& e) { return e.request[1] == command; });
    }
    void expectNothingWrittenBecauseChanged() {
        EXPECT_FALSE(anyRequest(SYSTEM_LOCK)) << "nothing locked, erased or written";
        EXPECT_EQ(session.lastUpdateEnd(), UpdateEnd::Changed);
        EXPECT_FALSE(session.updateRunning());
        EXPECT_TRUE(session.closeAllowed());
        ASSERT_FALSE(window.boxes.empty());
        const SeenBox& last = window.boxes.back();
        EXPECT_EQ(last.id, BoxId::ControllerChanged);
        EXPECT_EQ(last.text, textOf(IDS_CONTROLLER_CHANGED));
        EXPECT_EQ(last.caption, textOf(IDS_CONTROLLER_CHANGED_CAPTION));
        EXPECT_EQ(last.buttons, MessageButtons::Ok);
    }
};

// The controller behind the unit changes during a confirmation, with no device change to
// tell: each way it can change, during the first and during the second question.
struct Swap {
    const char* name;
    void (*change)(SimUnitConfig&);
    ConnectionOutcome now;
    const wchar_t* escVersionNow; // null: the version installed before
};

class SwapDuringConfirmation : public Recheck,
                               public ::testing::WithParamInterface<std::tuple<Swap, bool>> {};

TEST_P(SwapDuringConfirmation, NothingIsWrittenAndWhatIsConnectedNowIsShown) {
    const Swap& swap = std::get<0>(GetParam());
    const bool atSecondQuestion = std::get<1>(GetParam());
    const int unit = readyUnit(atSecondQuestion ? 0x0300 : 0x0205);
    const BoxId swappedAt = atSecondQuestion ? BoxId::ConfirmSameOrNewer : BoxId::ConfirmUpdate;
    window.answers = {true, true};
    window.whileBoxOpen = [&](const SeenBox& box) {
        if (box.id == swappedAt)
            simChangeUnitConfig(unit, swap.change);
    };
    updateToItsEnd();

    expectNothingWrittenBecauseChanged();
    EXPECT_EQ(window.view.outcome, swap.now);
    const wchar_t* installed = atSecondQuestion ? L"3.0" : L"2.5";
    EXPECT_EQ(text(IDC_ESC_VERSION), swap.escVersionNow ? swap.escVersionNow : installed);
    const bool ready = swap.now == ConnectionOutcome::ReadyToUpdate;
    EXPECT_EQ(enabled(IDC_UPDATE), ready);
    EXPECT_EQ(unitOpen(), ready) << "as if just plugged in: only a ready unit stays open";
    EXPECT_EQ(window.hint, ready ? textOf(IDS_HINT_READY)
                                 : instructionsAfter(outcomeRow(swap.now).hintText));
    EXPECT_EQ(simProtocolViolations(unit), 0u);
    // Identified again as when the unit was opened, the same first request.
    ASSERT_GE(simTranscript().size(), 4u);
    EXPECT_EQ(simTranscript()[3].request, simTranscript()[0].request);
}

const Swap kSwaps[] = {
    {"TypeCode", [](SimUnitConfig& c) { c.typeCode = 0x0BADC0DE; },
     ConnectionOutcome::EscIncompatible, L"0.0.0"},
    {"FirmwareVersion", [](SimUnitConfig& c) { c.escFirmwareVersion = 0x0909; },
     ConnectionOutcome::ReadyToUpdate, L"9.9"},
    {"BootloaderVersion", [](SimUnitConfig& c) { c.bootloaderVersion = 0x0106; },
     ConnectionOutcome::ReadyToUpdate, nullptr},
    {"ControllerGone", [](SimUnitConfig& c) { c.escState = 2; }, ConnectionOutcome::NoUpdatableEsc,
     L"0.0.0"},
    {"UnitInItsBootloader", [](SimUnitConfig& c) { c.unitInBootloader = true; },
     ConnectionOutcome::UnitWrongMode, L"0.0.0"},
};

INSTANTIATE_TEST_SUITE_P(
    EachWayAtEachQuestion, SwapDuringConfirmation,
    ::testing::Combine(::testing::ValuesIn(kSwaps), ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Swap, bool>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "AtSecond" : "AtFirst");
    });

// The version a swapped-in controller shows is the one the next press decides on: a
// controller that already has a newer firmware is asked about.
TEST_F(Recheck, TheNextPressDecidesOnWhatIsConnectedNow) {
    const int unit = readyUnit();
    window.answers = {true};
    window.whileBoxOpen = [&](const SeenBox& box) {
        if (box.id == BoxId::ConfirmUpdate)
            simChangeUnitConfig(unit, [](SimUnitConfig& c) { c.escFirmwareVersion = 0x0909; });
    };
    updateToItsEnd();
    ASSERT_EQ(session.lastUpdateEnd(), UpdateEnd::Changed);
    window.whileBoxOpen = nullptr;
    window.boxes.clear();
    window.answers = {true, true};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].id, BoxId::ConfirmSameOrNewer);
    EXPECT_EQ(session.lastUpdateEnd(), UpdateEnd::Succeeded);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
}

// Another unit that arrives while a confirmation waits is not the one confirmed, even at
// the same device node.
TEST_F(Recheck, AUnitSwappedDuringTheConfirmationIsNotWritten) {
    for (const wchar_t* arrivesAt : {L"/dev/hidraw5", kUnitPath}) {
        simReset();
        simSetFirmwareImage(image);
        window.boxes.clear();
        const int unit = plugUnit();
        session.connect({});
        int other = -1;
        window.answers = {true};
        window.whileBoxOpen = [&](const SeenBox& box) {
            if (box.id != BoxId::ConfirmUpdate)
                return;
            simRemoveDevice(unit);
            session.deviceChanged(DeviceChange::Removal, kUnitPath);
            other = plugUnit({}, arrivesAt);
            session.deviceChanged(DeviceChange::Arrival, {});
        };
        updateToItsEnd();
        expectNothingWrittenBecauseChanged();
        EXPECT_EQ(session.view().device, arrivesAt);
        EXPECT_TRUE(enabled(IDC_UPDATE)) << "the unit that came is ready: shown, not written";
        const std::vector<std::uint8_t> flash = simFlash(other);
        EXPECT_TRUE(std::all_of(flash.begin(), flash.end(),
                                [](std::uint8_t b) { return b == 0xFF; }));
        window.whileBoxOpen = nullptr;
        session.release();
    }
}

// The new identification failing is the lock step's failure, with its code line; nothing
// is sent after it.
TEST_F(Recheck, AFailedIdentificationIsTheLocksFailure) {
    const int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::ReadFails, GET_INFO, 1, 0, 31});
    window.answers = {true};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].text, textOf(IDS_FAIL_LOCK) + L"\r\n" +
                                        formatText(textOf(IDS_ERROR_CODE_LINE),
                                                   {std::uint32_t{0xFFFFFFFD}, std::uint32_t{31}}));
    EXPECT_EQ(session.lastUpdateEnd(), UpdateEnd::Failed);
    EXPECT_EQ(simTranscript().size(), 4u) << "identified, then the one request that failed";
    EXPECT_FALSE(unitOpen());
    EXPECT_FALSE(session.updateRunning());
}

// A program whose image no longer matches the digest its build took never offers Update,
// whatever is connected, and says why; one damaged after the start refuses at the press.
TEST_F(Recheck, ADamagedImageIsNeverWritten) {
    simDamageFirmwareImage(4711);
    RecordingWindow damagedWindow;
    Session damaged{damagedWindow, Language::German};
    damagedWindow.attach(damaged);
    plugUnit();
    damaged.start(true);
    EXPECT_TRUE(damaged.view().image.damaged);
    const std::string digest = sha256Hex(image.data(), image.size());
    EXPECT_EQ(damaged.view().image.sha256, std::wstring(digest.begin(), digest.end()))
        << "the build's digest, not the damaged bytes'";
    EXPECT_EQ(damaged.view().image.size, 97792u);
    EXPECT_EQ(damaged.view().image.version, L"3.0");
    EXPECT_EQ(damagedWindow.hint, loadText(Language::German, IDS_IMAGE_DAMAGED));
    EXPECT_FALSE(damagedWindow.enabled[IDC_UPDATE]);
    EXPECT_EQ(damagedWindow.texts[IDC_ESC_VERSION], L"2.5") << "what is connected is still shown";
    damaged.updatePressed();
    EXPECT_TRUE(damagedWindow.boxes.empty());
    damaged.release();

    simReset();
    simSetFirmwareImage(image);
    readyUnit();
    EXPECT_FALSE(session.view().image.damaged);
    simDamageFirmwareImage(0);
    window.answers = {true};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].text, textOf(IDS_IMAGE_DAMAGED)) << "no code line";
    EXPECT_EQ(simTranscript().size(), 3u) << "nothing after identification";
}

// An update cut off leaves erased flash, which the controller reports as no valid version:
// plugged in again it shows "----------" and is written without the same-or-newer
// question; after a whole image it reports the image's version.
TEST_F(Recheck, AControllerLeftErasedIsOfferedWithoutTheSecondQuestion) {
    for (int pulledAt : {1, 1019, 2038}) {
        simReset();
        simSetFirmwareImage(image);
        window.boxes.clear();
        SimUnitConfig current;
        current.escFirmwareVersion = 0x0300;
        const int unit = plugUnit(current);
        session.connect({});
        simAddFault(unit, {SimFaultKind::Unplug, WRITE_BLOCK, pulledAt});
        window.answers = {true, true};
        updateToItsEnd();
        ASSERT_EQ(session.lastUpdateEnd(), UpdateEnd::Failed) << pulledAt;
        session.deviceChanged(DeviceChange::Removal, kUnitPath);

        const int again = simReplugUnit(unit);
        session.deviceChanged(DeviceChange::Arrival, {});
        EXPECT_EQ(text(IDC_ESC_VERSION), L"----------") << pulledAt;
        ASSERT_TRUE(enabled(IDC_UPDATE)) << pulledAt;
        window.boxes.clear();
        window.answers = {true};
        updateToItsEnd();
        ASSERT_EQ(window.boxes.size(), 1u) << pulledAt << ": no same-or-newer question";
        EXPECT_EQ(session.lastUpdateEnd(), UpdateEnd::Succeeded);
        EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(again).begin()));

        session.release();
        simRemoveDevice(again);
        simReplugUnit(again);
        session.connect({});
        EXPECT_EQ(text(IDC_ESC_VERSION), L"3.0") << "as the controller now reports it";
        session.release();
    }
}

} // namespace
