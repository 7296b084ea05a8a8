// The waits' clock on Linux: the monotonic clock in nanoseconds, and a sleep to an absolute
// deadline on it, which wakes late by the timer's latency but never early.
#include "platform/wait/wait_clock.h"

#include <cerrno>
#include <sched.h>
#include <sys/prctl.h>
#include <time.h>

namespace {

constexpr std::int64_t kNsPerMs = 1000000;

} // namespace

std::int64_t clockNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t clockUnitsPerMs() {
    return kNsPerMs;
}

std::int64_t clockStep() {
    return 0;
}

LatenessRule clockLatenessRule() {
    return {0, 2 * kNsPerMs, 0, 8, 8};
}

std::int64_t clockSleepToward(std::int64_t at) {
    // The kernel's default slack of 50 us per sleep is what these waits must not have.
    thread_local const bool slackCut = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    (void)slackCut;
    timespec until{};
    until.tv_sec = static_cast<time_t>(at / 1000000000);
    until.tv_nsec = static_cast<long>(at % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    return at;
}

void clockYield() {
    sched_yield();
}

std::int64_t clockHandOver(std::int64_t deadline) {
    return deadline;
}

std::int64_t clockHandedOverEnd() {
    return INT64_MIN;
}

std::uint64_t clockLastError() {
    return static_cast<std::uint64_t>(errno);
}

void clockRestoreError(std::uint64_t error) {
    errno = static_cast<int>(error);
}
