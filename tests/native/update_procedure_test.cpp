#include "tests/native/update_fixture.h"

#include <algorithm>

TEST_F(UpdateTest, SuccessfulUpdateSendsTheImageInOrderWithItsWaits) {
    int unit = readyUnit();
    const std::uint64_t start = simNow();
    update();

    const std::vector<SimExchange> t = sent();
    ASSERT_EQ(t.size(), 4u + 2038u + 2u);
    EXPECT_EQ(t[0].request, bytes({0x01, 0x0B, 0x01, 0x01}));
    EXPECT_EQ(t[1].request, bytes({0x01, 0x20, 0x01, 0x00}));
    EXPECT_EQ(t[2].request, bytes({0x01, 0x1E, 0x04, 0x00, 0x91, 0x5C, 0x7E, 0x3A}));
    EXPECT_EQ(t[3].request, bytes({0x01, 0x1F, 0x09, 0x01, 0, 0, 0, 0, 0x91, 0x5C, 0x7E, 0x3A}));
    EXPECT_EQ(t[0].writtenAt, start);
    EXPECT_EQ(t[1].writtenAt - t[0].readAt, 20u);
    EXPECT_EQ(t[2].writtenAt - t[1].readAt, 20u);
    EXPECT_EQ(t[2].readAt - t[2].writtenAt, 1000u);
    EXPECT_EQ(t[3].writtenAt - t[2].readAt, 4000u + 20u);
    EXPECT_EQ(t[4].writtenAt - t[3].readAt, 20u);
    for (std::size_t i = 0; i < 2038; ++i) {
        const SimExchange& block = t[4 + i];
        ASSERT_EQ(block.request[1], 0x1B) << i;
        ASSERT_EQ(block.request[2], i < 2037 ? 48 : 16) << i;
        ASSERT_TRUE(std::equal(block.request.begin() + 4,
                               block.request.begin() + 4 + (i < 2037 ? 48 : 16),
                               image.begin() + 48 * i))
            << i;
        ASSERT_EQ(t[5 + i].writtenAt - block.readAt, 20u) << "the wait after block " << i;
    }
    const SimExchange& last = t[4 + 2037];
    for (std::size_t i = 20; i < 52; ++i)
        EXPECT_EQ(last.request[i], 0xFF) << "filler byte " << i;
    EXPECT_EQ(t[2042].request, bytes({0x01, 0x20, 0x01, 0x01}));
    EXPECT_EQ(t[2043].request, bytes({0x01, 0x0B, 0x01, 0x00}));
    EXPECT_EQ(t[2043].readAt - start, 45840u) << "the sum of the fixed waits, nothing more";

    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_EQ(simFlash(unit)[image.size()], 0xFF);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
    EXPECT_FALSE(simLockHeld(unit));
    EXPECT_TRUE(simWriteProtected(unit));
    EXPECT_TRUE(unitIsOpen(unitConnection));
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0x0300);
    EXPECT_EQ(feedback.only("success").size(), 1u);
    EXPECT_TRUE(feedback.only("failure").empty());
}

TEST_F(UpdateTest, ProgressAfterEveryBlockCountsTheBytesLeft) {
    readyUnit();
    update();
    std::vector<FeedbackCall> progress = feedback.only("progress");
    ASSERT_EQ(progress.size(), 2038u);
    EXPECT_EQ(progress.front().total, 97792u);
    EXPECT_EQ(progress.front().remaining, 97744u) << "one block of 48 bytes written";
    for (std::size_t i = 1; i < 2037; ++i)
        ASSERT_EQ(progress[i].remaining, progress[i - 1].remaining - 48) << i;
    EXPECT_EQ(progress[2036].remaining, 16u) << "the last block is 16 bytes";
    EXPECT_EQ(progress.back().remaining, 0u);
    EXPECT_EQ(progressPercent(97792, 16), 99u) << "100 only when nothing remains";
    EXPECT_EQ(progressPercent(97792, 97744), 0u);
    EXPECT_EQ(progressPercent(97792, 0), 100u);
    EXPECT_EQ(feedback.only("keepOnTop").size(), 2038u);
    EXPECT_EQ(feedback.only("open").size(), 1u);
    ASSERT_EQ(feedback.only("close").size(), 1u);
    EXPECT_EQ(feedback.calls.back().what, "success");
    EXPECT_EQ(feedback.calls[feedback.calls.size() - 2].what, "close");
}

TEST_F(UpdateTest, FeedbackComesInTheProceduresOrder) {
    readyUnit();
    update();
    std::vector<std::string> order;
    for (const FeedbackCall& call : feedback.calls)
        if (call.what != "progress" && call.what != "keepOnTop")
            order.push_back(call.what);
    EXPECT_EQ(order, (std::vector<std::string>{"confirm", "open", "close", "success"}));
    const FeedbackCall confirm = feedback.only("confirm")[0];
    EXPECT_EQ(confirm.caption, textId(IDS_CONFIRM_UPDATE_CAPTION));
    EXPECT_EQ(confirm.text, textId(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(confirm.question, Confirmation::Update);
}

// A window slow to show the progress: its time overlaps the wait after the block, and the
// next request still never follows the answer by less than the wait.
TEST_F(UpdateTest, ProgressTimeOverlapsTheBlockWaitButNeverShortensIt) {
    for (std::uint32_t showing : {7u, 20u, 26u}) {
        SetUp();
        readyUnit();
        feedback.whileShowingProgress = [showing] { platformWait(showing); };
        update();
        const std::vector<SimExchange> t = sent();
        ASSERT_EQ(t.size(), 4u + 2038u + 2u);
        for (std::size_t i = 0; i < 2037; ++i)
            ASSERT_EQ(t[5 + i].writtenAt - t[4 + i].readAt, std::max(20u, showing))
                << "after block " << i << " with " << showing << " ms of progress";
        TearDown();
    }
}
