#include "tests/session/update_runner_fixture.h"
#include "update/firmware_image.h"

#include <algorithm>

TEST_F(UpdateRunner, SuccessShowsTheNewVersionAndKeepsUpdateDisabled) {
    const int unit = readyUnit();
    window.answers = {true};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, textOf(IDS_CONFIRM_UPDATE_CAPTION));
    EXPECT_EQ(window.boxes[0].text, textOf(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(window.boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(window.boxes[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(window.boxes[0].id, BoxId::ConfirmUpdate);
    EXPECT_EQ(window.hint, textOf(IDS_HINT_UPDATE_DONE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"3.0");
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_TRUE(unitOpen());
    EXPECT_EQ(window.view.outcome, ConnectionOutcome::Updated) << "not ready: plug it in again";
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_EQ(simProtocolViolations(unit), 0u);

    simRemoveDevice(unit);
    session.deviceChanged(DeviceChange::Removal, kUnitPath);
    EXPECT_EQ(window.view.outcome, ConnectionOutcome::NoUnit);
}

// Leaving, Close and interrupts are refused by this: from the moment the user accepts
// until the lock is released, never only while the blocks are written.
TEST_F(UpdateRunner, TheViewSaysAnUpdateRunsFromTheFirstAcceptanceToItsEnd) {
    readyUnit(0x0300);
    struct Seen {
        bool running;
        std::size_t sent; // requests the unit had by then
    };
    std::vector<Seen> seen;
    window.whileRendering = [&](const SessionView& view) {
        seen.push_back({view.updateRunning, simTranscript().size()});
    };
    bool runningAtSecondQuestion = false;
    window.whileBoxOpen = [&](const SeenBox& box) {
        if (box.id == BoxId::ConfirmSameOrNewer)
            runningAtSecondQuestion = window.view.updateRunning && !session.closeAllowed();
    };
    window.answers = {true, true};
    updateToItsEnd();

    EXPECT_TRUE(runningAtSecondQuestion);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(seen.front().running);
    EXPECT_EQ(seen.front().sent, 3u) << "said before the lock is asked for";
    for (std::size_t i = 0; i + 1 < seen.size(); ++i)
        EXPECT_TRUE(seen[i].running) << "view " << i;
    EXPECT_FALSE(seen.back().running);
    EXPECT_EQ(seen.back().sent, 3u + 3u + 4u + 2038u + 2u)
        << "identified again, then ended after the lock's release";
    EXPECT_TRUE(session.closeAllowed());
}

// A front end whose thread may block has the blocks written there: the whole update is
// done when Update's press returns, and it ends as it does on a worker.
TEST_F(UpdateRunner, WrittenOnTheWindowsThreadWhenTheFrontEndAsks) {
    RecordingWindow inPlaceWindow;
    Session inPlace{inPlaceWindow, Language::English, UpdateWriter::WindowThread};
    inPlaceWindow.attach(inPlace);
    const int unit = plugUnit();
    inPlace.start(true);
    inPlaceWindow.answers = {true};
    inPlace.updatePressed();

    EXPECT_TRUE(inPlace.updateRunning()) << "until the window's thread takes the end";
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_EQ(inPlaceWindow.progressStates.size(), 1u + 2038u);
    EXPECT_FALSE(inPlaceWindow.progressOpen);
    EXPECT_EQ(inPlace.lastUpdateEnd(), UpdateEnd::Succeeded);
    EXPECT_EQ(inPlaceWindow.hint, textOf(IDS_HINT_UPDATE_DONE));
    inPlace.deviceChanged(DeviceChange::Removal, kUnitPath);
    EXPECT_EQ(inPlaceWindow.view.device, kUnitPath) << "held while the update runs";

    ASSERT_TRUE(inPlaceWindow.pumpUntil([&] { return !inPlace.updateRunning(); }));
    EXPECT_TRUE(inPlaceWindow.view.device.empty()) << "the held removal, after the end";
    EXPECT_EQ(inPlaceWindow.hint, instructionsAfter(IDS_HINT_CONNECTION_LOST));
}

TEST_F(UpdateRunner, ProgressOpensCentredShowsEveryBlockAndCloses) {
    readyUnit();
    window.answers = {true};
    updateToItsEnd();
    ASSERT_GE(window.progressCalls.size(), 3u);
    EXPECT_EQ(window.progressCalls.front(), "open");
    EXPECT_EQ(window.progressCalls.back(), "close");
    EXPECT_FALSE(window.progressOpen);
    EXPECT_EQ(window.progressTitle, textOf(IDS_PROGRESS_TITLE));
    EXPECT_EQ(window.progressX, 130); // centred on {100, 100, 560, 500}
    EXPECT_EQ(window.progressY, 275);
    EXPECT_EQ(window.progressWidth, 400);
    EXPECT_EQ(window.progressHeight, 50);

    const std::vector<ProgressState>& states = window.progressStates;
    ASSERT_EQ(states.size(), 1u + 2038u) << "the opening state, then one per block";
    EXPECT_EQ(states.front().percent, 0u);
    EXPECT_EQ(states[1].blocksWritten, 1u);
    EXPECT_EQ(states[1].blocksTotal, 2038u);
    EXPECT_EQ(states.back().percent, 100u);
    EXPECT_EQ(states.back().blocksWritten, 2038u);
    EXPECT_EQ(states.back().secondsLeft, 0u);
    for (std::size_t i = 2; i < states.size(); ++i) {
        EXPECT_GE(states[i].percent, states[i - 1].percent);
        EXPECT_EQ(states[i].blocksWritten, states[i - 1].blocksWritten + 1);
        EXPECT_LE(states[i].secondsLeft, states[i - 1].secondsLeft);
    }
}

TEST_F(UpdateRunner, SameOrNewerAsksAgainAndNoLeavesTheUnitReady) {
    readyUnit(0x0300);
    window.answers = {true, false};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].caption, textOf(IDS_CONFIRM_OLDER_IMAGE_CAPTION));
    EXPECT_EQ(window.boxes[1].text, textOf(IDS_CONFIRM_OLDER_IMAGE));
    EXPECT_EQ(window.boxes[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(window.boxes[1].id, BoxId::ConfirmSameOrNewer);
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_TRUE(window.progressCalls.empty());
    EXPECT_FALSE(window.view.updateRunning) << "declined: nothing runs";
    EXPECT_TRUE(session.closeAllowed());
}

struct FailureCase {
    const char* name;
    SimFault fault;
    unsigned text;
    std::uint32_t code;
    std::uint32_t lastError;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class UpdateFailure : public UpdateRunner,
                      public ::testing::WithParamInterface<std::tuple<FailureCase, bool>> {
  protected:
    UpdateFailure() : UpdateRunner(std::get<1>(GetParam()) ? Language::German : Language::English) {}
};

TEST_P(UpdateFailure, TellsTheStepWithItsCodeLine) {
    const FailureCase& c = std::get<0>(GetParam());
    const int unit = readyUnit();
    simAddFault(unit, c.fault);
    window.answers = {true};
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].caption, textOf(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(window.boxes[1].text, textOf(c.text) + L"\r\n" + codeLine(c.code, c.lastError));
    EXPECT_EQ(window.boxes[1].icon, MessageIcon::Error);
    expectWaitingAfterFailure();
    EXPECT_FALSE(window.progressOpen);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, UpdateFailure,
    ::testing::Combine(
        ::testing::Values(
            FailureCase{"LockRead",
                        {SimFaultKind::ReadFails, SYSTEM_LOCK, 1, 0, 31},
                        IDS_FAIL_LOCK,
                        0xFFFFFFFD,
                        31},
            FailureCase{
                "LockRefused", {SimFaultKind::LockRefused, SYSTEM_LOCK, 1}, IDS_FAIL_LOCK, 1627, 0},
            FailureCase{"Unprotect",
                        {SimFaultKind::StatusError, WRITE_PROTECT, 1, 0x55},
                        IDS_FAIL_WRITE_PROTECT,
                        0x55,
                        0},
            FailureCase{"Erase", {SimFaultKind::StatusError, ERASE, 1, 7}, IDS_FAIL_ERASE, 7, 0},
            FailureCase{"Address",
                        {SimFaultKind::WriteFails, SET_ADDRESS, 1, 0, 1167},
                        IDS_FAIL_SET_ADDRESS,
                        0xFFFFFFFE,
                        1167},
            FailureCase{"Block",
                        {SimFaultKind::ReadFails, WRITE_BLOCK, 100, 0, 31},
                        IDS_FAIL_WRITE_BLOCK,
                        0xFFFFFFFD,
                        31}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<FailureCase, bool>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "German" : "English");
    });

// A press with no unit open (a click racing a removal, a command sent to the window) is
// told as the missing unit's failure, without a code line. One that reaches the session
// while a unit is open but the view offers no Update (after a success) asks nothing and
// sends nothing.
TEST_F(UpdateRunner, UpdateDoesNothingWhereTheViewDoesNotOfferIt) {
    session.start(true);
    session.updatePressed();
    ASSERT_EQ(window.boxes.size(), 1u) << "no unit";
    EXPECT_EQ(window.boxes[0].text, textOf(IDS_FAIL_NO_UNIT));
    EXPECT_EQ(window.boxes[0].caption, textOf(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(window.view.hint, textOf(IDS_HINT_UPDATE_FAILED));
    EXPECT_FALSE(session.updateRunning());
    EXPECT_TRUE(simTranscript().empty());
    window.boxes.clear();

    const int unit = plugUnit();
    session.deviceChanged(DeviceChange::Arrival, {});
    window.answers = {true};
    updateToItsEnd();
    const std::size_t sent = simTranscript().size();
    window.answers = {true};
    session.updatePressed();
    EXPECT_EQ(window.boxes.size(), 1u) << "after a success";
    EXPECT_EQ(simTranscript().size(), sent);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}

TEST_F(UpdateRunner, RemovalDuringTheConfirmationEndsItWithoutACodeLine) {
    const int unit = readyUnit();
    window.answers = {true};
    window.whileBoxOpen = [&](const SeenBox& box) {
        if (box.caption != textOf(IDS_CONFIRM_UPDATE_CAPTION))
            return;
        simRemoveDevice(unit);
        session.deviceChanged(DeviceChange::Removal, kUnitPath);
        EXPECT_FALSE(unitOpen()) << "a confirmation holds nothing back";
    };
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].text, textOf(IDS_FAIL_LOCK));
    expectWaitingAfterFailure();
    EXPECT_TRUE(simTranscript().size() == 3u) << "only identification reached the unit";
}

TEST_F(UpdateRunner, WhileItRunsCloseIsRefusedAndRemovalWaitsForItsEnd) {
    const int unit = readyUnit();
    window.answers = {true};
    session.updatePressed();
    ASSERT_TRUE(session.updateRunning());
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_FALSE(session.close());
    EXPECT_FALSE(session.progressCloseAllowed());
    EXPECT_FALSE(window.deviceChangesStopped);
    EXPECT_EQ(window.endedWith, -1);
    session.updatePressed(); // a second press does nothing
    EXPECT_EQ(window.boxes.size(), 1u);

    simRemoveDevice(unit);
    session.deviceChanged(DeviceChange::Removal, kUnitPath);
    plugUnit({}, L"/dev/hidraw9");
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_TRUE(unitOpen()) << "the record is the worker's";
    ASSERT_TRUE(pumpUntil([this] { return !session.updateRunning(); }));
    // The unit went during the blocks: a failure, then the removal and the arrival in order.
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].caption, textOf(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(session.view().device, L"/dev/hidraw9");
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY));
    EXPECT_TRUE(session.progressCloseAllowed());
    EXPECT_TRUE(session.close());
}

TEST_F(UpdateRunner, NotificationsDuringTheFailureBoxAreHandledAfterIt) {
    const int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::Unplug, WRITE_BLOCK, 10});
    window.answers = {true};
    window.whileBoxOpen = [&](const SeenBox& box) {
        if (box.caption != textOf(IDS_UPDATE_FAILED_CAPTION))
            return;
        session.deviceChanged(DeviceChange::Removal, kUnitPath);
        plugUnit({}, L"/dev/hidraw4");
        session.deviceChanged(DeviceChange::Arrival, {});
        EXPECT_FALSE(unitOpen());
    };
    updateToItsEnd();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].text,
              textOf(IDS_FAIL_WRITE_BLOCK) + L"\r\n" + codeLine(0xFFFFFFFE, 1167));
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY)) << "hint, button and unit agree";
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_EQ(session.view().device, L"/dev/hidraw4");
}

// Once per update at most, the first time after a block that one of the two windows is in
// front, both are raised and shown; never over another program's window.
TEST_F(UpdateRunner, KeepOnTopActsOnceAndOnlyForItsOwnWindows) {
    readyUnit();
    int anotherProgram = 0;
    window.front = &anotherProgram;
    std::size_t raisedWhenInFront = 0;
    window.whileShowingProgress = [&](const ProgressState& state) {
        if (state.blocksWritten == 10) {
            raisedWhenInFront = window.raised.size();
            window.front = window.mainWindow();
        }
    };
    window.answers = {true};
    updateToItsEnd();
    FeedbackWindow progress = &window.progressStates;
    const std::vector<FeedbackWindow> opening{window.mainWindow(), progress};
    EXPECT_EQ(raisedWhenInFront, 2u) << "only as the progress window opened";
    std::vector<FeedbackWindow> both = opening;
    both.insert(both.end(), opening.begin(), opening.end());
    EXPECT_EQ(window.raised, both) << "and once more when its own window came to the front";
    EXPECT_EQ(window.shown, opening);
}
