#include "tests/native/update_fixture.h"

TEST_F(UpdateTest, DecliningEitherConfirmationSendsNothing) {
    readyUnit(0x0300);
    feedback.answers = {false};
    runUpdate();
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(feedback.only("confirm").size(), 1u);

    feedback = RecordingFeedback{};
    feedback.answers = {true, false};
    runUpdate();
    EXPECT_TRUE(sent().empty());
    ASSERT_EQ(feedback.only("confirm").size(), 2u);
    EXPECT_TRUE(feedback.only("failure").empty());
    EXPECT_TRUE(unitIsOpen(unitConnection)) << "still ready";
}

TEST_F(UpdateTest, SecondConfirmationOnlyForTheSameOrANewerVersion) {
    struct {
        std::uint16_t installed;
        std::size_t confirmations;
    } cases[] = {{0x02FF, 1}, {0x0300, 2}, {0x0301, 2}, {0xFFFF, 1}, {0x0000, 1}};
    for (const auto& c : cases) {
        simReset();
        simSetFirmwareImage(image);
        closeUnit(unitConnection);
        readyUnit(c.installed);
        feedback = RecordingFeedback{};
        feedback.answers = {true, false};
        runUpdate();
        std::vector<FeedbackCall> confirms = feedback.only("confirm");
        ASSERT_EQ(confirms.size(), c.confirmations) << std::hex << c.installed;
        if (c.confirmations == 2) {
            EXPECT_EQ(confirms[1].caption, textId(IDS_CONFIRM_OLDER_IMAGE_CAPTION));
            EXPECT_EQ(confirms[1].text, textId(IDS_CONFIRM_OLDER_IMAGE));
            EXPECT_EQ(confirms[1].question, Confirmation::SameOrNewer);
            EXPECT_TRUE(sent().empty());
        } else {
            EXPECT_EQ(feedback.only("success").size(), 1u) << "No was never asked";
        }
    }
}

TEST_F(UpdateTest, NoUnitWhenPressedFailsWithoutAsking) {
    update();
    const FeedbackCall f = failure();
    EXPECT_EQ(f.text, textId(IDS_FAIL_NO_UNIT));
    EXPECT_EQ(f.caption, textId(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(f.code, -1);
    EXPECT_TRUE(feedback.only("confirm").empty());
    EXPECT_TRUE(simTranscript().empty());
}

TEST_F(UpdateTest, UnitRemovedDuringAConfirmationFailsTheLockWithoutACode) {
    readyUnit(0x0300);
    // What the dialog does when the removal notification arrives inside the box.
    feedback.whileConfirming = [this] { closeUnit(unitConnection); };
    update();
    EXPECT_EQ(feedback.only("confirm").size(), 1u) << "the version now reads 0";
    const FeedbackCall f = failure();
    EXPECT_EQ(f.text, textId(IDS_FAIL_LOCK));
    EXPECT_EQ(f.code, -1);
    EXPECT_TRUE(sent().empty());
}

TEST_F(UpdateTest, RemovedDuringTheSecondConfirmation) {
    readyUnit(0x0301);
    int asked = 0;
    feedback.whileConfirming = [this, &asked] {
        if (++asked == 2)
            closeUnit(unitConnection);
    };
    update();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(failure().code, -1);
    EXPECT_TRUE(sent().empty());
}

// A missing image is said as such, never as the unit's lock failing.
TEST_F(UpdateTest, NothingIsSentWithoutAnImage) {
    for (std::size_t length : {std::size_t{0}, std::size_t{97790}}) {
        simSetFirmwareImage(std::vector<std::uint8_t>(length, 0x11));
        closeUnit(unitConnection);
        readyUnit();
        feedback = RecordingFeedback{};
        update();
        const FeedbackCall f = failure();
        EXPECT_EQ(f.text, textId(IDS_FAIL_NO_IMAGE)) << length;
        EXPECT_EQ(f.code, -1);
        EXPECT_TRUE(sent().empty()) << length;
        EXPECT_TRUE(feedback.only("open").empty());
    }
}

TEST_F(UpdateTest, RunsAgainWithoutStateFromTheLastRun) {
    int unit = readyUnit(0x0205);
    simAddFault(unit, {SimFaultKind::StatusError, WRITE_BLOCK, 10, 3});
    update();
    ASSERT_EQ(failure().code, 3);
    ASSERT_EQ(openUnit(unitConnection), 0);
    transcriptStart = simTranscript().size();
    feedback = RecordingFeedback{};
    update();
    EXPECT_EQ(feedback.only("success").size(), 1u);
    EXPECT_EQ(sent().size(), 2044u);
    EXPECT_EQ(feedback.only("progress").front().remaining, 97792u - 48u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
}
