// How late a thread's timer wakes it, learnt from its waits so far: the next sleep is asked
// for that much earlier and the rest of the wait is spun, so that a wait is never shorter
// than asked and little longer. Without it, a timer's lateness (about 0.1 ms on a virtual
// machine, 0.3 ms under Wine, a fraction of a millisecond in a browser's worker) would
// stretch an update's 2,038 block waits by 0.2 s to a second or more.
#pragma once

#include <algorithm>
#include <cstdint>

// Each platform's learning, in its clock's units.
struct LatenessRule {
    std::int64_t initial; // before the first wake
    std::int64_t most;    // never more, whatever one wake did
    std::int64_t margin;  // asked for earlier still, for wakes later than the learnt one
    int riseDivisor;      // a later wake moves the lateness by 1/riseDivisor of the gap
    int fallDivisor;      // an earlier one by 1/fallDivisor
};

class TimerLateness {
  public:
    explicit TimerLateness(const LatenessRule& rule) : rule_(rule), lateness_(rule.initial) {}

    // The moment to ask the timer for, to wake by `deadline`.
    std::int64_t wakeFor(std::int64_t deadline) const {
        return deadline - lateness_ - rule_.margin;
    }
    // The timer, asked for `asked`, woke at `woke`.
    void learn(std::int64_t asked, std::int64_t woke) {
        const std::int64_t late = std::max<std::int64_t>(woke - asked, 0);
        if (late > lateness_)
            lateness_ += (late - lateness_) / rule_.riseDivisor;
        else
            lateness_ -= (lateness_ - late) / rule_.fallDivisor;
        lateness_ = std::min(lateness_, rule_.most);
    }
    std::int64_t lateness() const { return lateness_; }

  private:
    LatenessRule rule_;
    std::int64_t lateness_;
};
