// Which progress states a front end draws: ten a second are all an eye can follow, and
// drawing every one (fifty a second) would let a slow console or page hold the update,
// whose writer waits for each state to be handed over. The first states (the opening one
// and the first block) and the last are always drawn.
#pragma once

#include "session/session_view.h"

#include <chrono>

class ProgressThrottle {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{100};

    // Whether to draw `state` at `now`; if so, it counts as drawn then.
    bool due(const ProgressState& state, Clock::time_point now = Clock::now()) {
        const bool last = state.blocksTotal != 0 && state.blocksWritten == state.blocksTotal;
        if (state.blocksWritten > 1 && !last && now < next_)
            return false;
        next_ = now + kInterval;
        return true;
    }

  private:
    Clock::time_point next_{};
};
