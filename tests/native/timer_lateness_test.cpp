// How a timer's lateness is learnt and what the next sleep is asked for, by the rules the
// platforms use: a lateness that follows slowly both ways, or at once upwards.
#include "platform/timer_lateness.h"

#include <gtest/gtest.h>

TEST(TimerLateness, FollowsByAnEighthEachWayAndStopsAtItsMost) {
    TimerLateness lateness({0, 2000, 0, 8, 8});
    EXPECT_EQ(lateness.wakeFor(10000), 10000) << "nothing learnt yet";
    lateness.learn(1000, 1800);
    EXPECT_EQ(lateness.lateness(), 100);
    EXPECT_EQ(lateness.wakeFor(10000), 9900);
    lateness.learn(1000, 1000 + 10100);
    EXPECT_EQ(lateness.lateness(), 1350);
    lateness.learn(1000, 1000 + 10000);
    EXPECT_EQ(lateness.lateness(), 2000) << "one slow wake never asks for more than the most";
    lateness.learn(1000, 1000);
    EXPECT_EQ(lateness.lateness(), 1750);
    lateness.learn(1000, 400);
    EXPECT_EQ(lateness.lateness(), 1532) << "an early wake counts as on time, 1750 - 1750 / 8";
}

TEST(TimerLateness, ALateWakeCountsAtOnceAnEarlyOneSlowly) {
    TimerLateness lateness({1000, 4000, 0, 1, 64});
    EXPECT_EQ(lateness.wakeFor(50000), 49000) << "its first guess";
    lateness.learn(0, 3000);
    EXPECT_EQ(lateness.lateness(), 3000);
    lateness.learn(0, 200);
    EXPECT_EQ(lateness.lateness(), 2957) << "2,800 too early, a 64th of it";
    lateness.learn(0, 9000);
    EXPECT_EQ(lateness.lateness(), 4000);
}

TEST(TimerLateness, TheMarginIsAskedForEarlierStill) {
    TimerLateness lateness({0, 2000, 250, 8, 8});
    EXPECT_EQ(lateness.wakeFor(10000), 9750);
    lateness.learn(9750, 9750 + 800);
    EXPECT_EQ(lateness.wakeFor(10000), 9650);
}
