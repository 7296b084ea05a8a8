// Which progress states are drawn: redrawn in place, ten a second with the first and last
// always; written down, each new ten percent once.
#include "session/progress_throttle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Clock = ProgressThrottle::Clock;
using std::chrono::milliseconds;

// A whole update of 2038 blocks, one every 20 ms; the percents of the states drawn.
std::vector<std::uint32_t> drawn(ProgressPolicy policy) {
    ProgressThrottle throttle(policy);
    std::vector<std::uint32_t> percents;
    const Clock::time_point start{};
    for (std::uint32_t block = 0; block <= 2038; ++block) {
        const ProgressState state{block * 100 / 2038, block, 2038, 0};
        if (throttle.due(state, start + milliseconds(20 * block)))
            percents.push_back(state.percent);
    }
    return percents;
}

TEST(ProgressThrottle, RedrawnTenASecondWithTheFirstAndTheLast) {
    const std::vector<std::uint32_t> percents = drawn(kRedrawnProgress);
    // Blocks 0 and 1, then every fifth block (100 ms), and the last.
    EXPECT_EQ(percents.size(), 2u + 2037u / 5u + 1u);
    EXPECT_EQ(percents.front(), 0u);
    EXPECT_EQ(percents.back(), 100u);
}

TEST(ProgressThrottle, WrittenAtEachTenPercentOnce) {
    EXPECT_EQ(drawn(kWrittenProgress),
              (std::vector<std::uint32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(ProgressThrottle, ASlowWriterIsDrawnAtEveryState) {
    ProgressThrottle throttle(kRedrawnProgress);
    const Clock::time_point start{};
    for (std::uint32_t block = 0; block < 20; ++block)
        EXPECT_TRUE(throttle.due({block * 5, block, 20, 0}, start + milliseconds(150 * block)))
            << block;
}

} // namespace
