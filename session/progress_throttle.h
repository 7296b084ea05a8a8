// Which progress states a front end draws, by one of two policies. Redrawn in place (a
// window's bar, a terminal's live line or block, a page): ten a second are all an eye can
// follow, and drawing every one (fifty a second) would let a slow console or page hold the
// update, whose writer waits for each state to be handed over; the first states (the
// opening one and the first block) and the last are always drawn. Written down (lines to
// a pipe or a log, JSON): a state at each new ten percent, 100 once.
#pragma once

#include "session/session_view.h"

#include <chrono>
#include <cstdint>

struct ProgressPolicy {
    std::chrono::milliseconds interval; // at most one state so often; 0: no such limit
    std::uint32_t percentStep;          // only at a new multiple of it; 0: at any percent
};
constexpr ProgressPolicy kRedrawnProgress{std::chrono::milliseconds(100), 0};
constexpr ProgressPolicy kWrittenProgress{std::chrono::milliseconds(0), 10};

class ProgressThrottle {
  public:
    using Clock = std::chrono::steady_clock;
    explicit ProgressThrottle(ProgressPolicy policy = kRedrawnProgress) : policy_(policy) {}

    // Whether to draw `state` at `now`; if so, it counts as drawn then.
    bool due(const ProgressState& state, Clock::time_point now = Clock::now()) {
        if (policy_.percentStep > 0) {
            const std::uint32_t step = state.percent / policy_.percentStep;
            if (step == lastStep_)
                return false;
            lastStep_ = step;
        }
        const bool last = state.blocksTotal != 0 && state.blocksWritten == state.blocksTotal;
        if (policy_.interval.count() > 0 && state.blocksWritten > 1 && !last && now < next_)
            return false;
        next_ = now + policy_.interval;
        return true;
    }

  private:
    ProgressPolicy policy_;
    Clock::time_point next_{};
    std::uint32_t lastStep_ = 0;
};
