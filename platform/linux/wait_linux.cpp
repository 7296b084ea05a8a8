// Waits that last what they say and little more. The thread sleeps to an absolute
// deadline on the monotonic clock, but wakes up late by the timer's latency (about 0.1 ms
// on a virtual machine), which would stretch an update's 2,038 block waits by 0.2 s. So
// each thread learns that lateness, sleeps to the deadline less what it learnt, and spins
// the last few microseconds of an early wake: never shorter than asked.
#include "platform/platform.h"

#include <cerrno>
#include <sched.h>
#include <sys/prctl.h>
#include <time.h>

namespace {

constexpr std::int64_t kNsPerMs = 1000000;
constexpr std::int64_t kMostLateness = 2 * kNsPerMs;

std::int64_t nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void sleepUntil(std::int64_t deadline) {
    timespec at{};
    at.tv_sec = static_cast<time_t>(deadline / 1000000000);
    at.tv_nsec = static_cast<long>(deadline % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

WaitDeadline platformDeadline(std::uint32_t ms) {
    return nowNs() + ms * kNsPerMs;
}

void platformWait(std::uint32_t ms) {
    if (ms != 0)
        platformWaitUntil(platformDeadline(ms));
}

void platformWaitUntil(WaitDeadline deadline) {
    if (nowNs() >= deadline)
        return;
    const int error = errno;
    // The kernel's default slack of 50 us per sleep is what this wait must not have.
    thread_local const bool slackCut = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    thread_local std::int64_t lateness = 0;
    (void)slackCut;

    const std::int64_t asked = deadline - lateness;
    sleepUntil(asked);
    lateness += (nowNs() - asked - lateness) / 8;
    if (lateness < 0)
        lateness = 0;
    if (lateness > kMostLateness)
        lateness = kMostLateness;
    while (nowNs() < deadline)
        sched_yield();
    errno = error;
}
