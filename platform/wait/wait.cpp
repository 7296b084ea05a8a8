// The waits of platform/platform.h, the same on every platform over its clock and timer.
#include "platform/platform.h"
#include "platform/wait/wait_clock.h"

#include <algorithm>

WaitDeadline platformDeadline(std::uint32_t ms) {
    const std::uint64_t error = clockLastError();
    const WaitDeadline deadline = std::max(clockNow(), clockHandedOverEnd()) +
                                  static_cast<std::int64_t>(ms) * clockUnitsPerMs() + clockStep();
    clockRestoreError(error);
    return deadline;
}

std::int64_t platformMicroseconds() {
    const std::uint64_t error = clockLastError();
    const std::int64_t units = clockNow(), perMs = clockUnitsPerMs();
    // Whole milliseconds first: nanoseconds since boot times 1000 would overflow.
    const std::int64_t now = units / perMs * 1000 + units % perMs * 1000 / perMs;
    clockRestoreError(error);
    return now;
}

void platformWait(std::uint32_t ms) {
    if (ms != 0)
        platformWaitUntil(platformDeadline(ms));
}

void platformWaitUntil(WaitDeadline until) {
    const std::uint64_t error = clockLastError();
    const WaitDeadline deadline = clockHandOver(until);
    if (clockNow() >= deadline) {
        clockRestoreError(error);
        return;
    }
    // Each thread learns its own timer's lateness: the waits of one thread follow each
    // other, and the seam's waits are plain functions.
    thread_local TimerLateness lateness(clockLatenessRule());
    const std::int64_t asked = lateness.wakeFor(deadline);
    if (asked > clockNow()) {
        const std::int64_t aimed = clockSleepToward(asked);
        if (aimed != kNotAimed)
            lateness.learn(aimed, clockNow());
    }
    // Never shorter than asked: the rest of an early wake.
    while (clockNow() < deadline)
        clockYield();
    clockRestoreError(error);
}
