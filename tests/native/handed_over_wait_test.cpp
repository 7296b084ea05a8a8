// The one wait of every platform over a scripted clock: where the next report can wait out
// a wait's end itself, the wait returns that much before it, and waits in a row still add
// up; elsewhere a wait ends at its deadline, however late the timer wakes.
#include "platform/platform.h"
#include "platform/wait/wait_clock.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The scripted clock, in microseconds.
struct ScriptedClock {
    std::int64_t now = 1000;
    std::int64_t timerLateness = 0;
    std::int64_t lead = 0; // 0: nothing is handed over
    std::int64_t handedOver = INT64_MIN;
    std::uint64_t error = 0;
};

ScriptedClock& scripted() {
    static ScriptedClock clock;
    return clock;
}

class HandedOverWait : public ::testing::Test {
  protected:
    void SetUp() override { scripted() = ScriptedClock{}; }
};

} // namespace

std::int64_t clockNow() {
    return scripted().now;
}
std::int64_t clockUnitsPerMs() {
    return 1000;
}
std::int64_t clockStep() {
    return 0;
}
LatenessRule clockLatenessRule() {
    return {0, 0, 0, 1, 1};
}
std::int64_t clockSleepToward(std::int64_t at) {
    scripted().now = std::max(scripted().now, at + scripted().timerLateness);
    return at;
}
void clockYield() {
    scripted().now += 1;
}
std::int64_t clockHandOver(std::int64_t deadline) {
    ScriptedClock& clock = scripted();
    if (clock.lead == 0)
        return deadline;
    clock.handedOver = std::max(clock.handedOver, deadline);
    return deadline - clock.lead;
}
std::int64_t clockHandedOverEnd() {
    return scripted().handedOver;
}
std::uint64_t clockLastError() {
    return scripted().error;
}
void clockRestoreError(std::uint64_t error) {
    scripted().error = error;
}

TEST_F(HandedOverWait, EndsAtItsDeadlineWhereNothingIsHandedOver) {
    scripted().timerLateness = 250;
    platformWait(20);
    EXPECT_EQ(scripted().now, 1000 + 20000 + 250) << "a late timer makes it late, never short";
    const WaitDeadline deadline = platformDeadline(20);
    EXPECT_EQ(deadline, 21250 + 20000);
    platformWaitUntil(deadline);
    EXPECT_GE(scripted().now, deadline);
    EXPECT_EQ(scripted().handedOver, INT64_MIN);
}

TEST_F(HandedOverWait, ReturnsItsLeadEarlyAndWaitsInARowStillAddUp) {
    scripted().lead = 300;
    platformWait(4000);
    EXPECT_EQ(scripted().now, 1000 + 4000000 - 300);
    EXPECT_EQ(scripted().handedOver, 1000 + 4000000) << "the next report waits out the rest";
    // The second wait counts from the first one's end, not from its early return.
    platformWait(20);
    EXPECT_EQ(scripted().handedOver, 1000 + 4000000 + 20000);
    EXPECT_EQ(scripted().now, 1000 + 4020000 - 300);
}

TEST_F(HandedOverWait, ADeadlineTakenAfterTheEndCountsFromNowAndAPassedOneReturnsAtOnce) {
    scripted().lead = 300;
    platformWait(20);
    scripted().now = 50000; // the report left, the answer came
    EXPECT_EQ(platformDeadline(20), 70000);
    scripted().error = 31;
    platformWaitUntil(40000);
    EXPECT_EQ(scripted().now, 50000);
    EXPECT_EQ(scripted().error, 31u) << "the last-error value is kept";
}
