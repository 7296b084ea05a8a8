// Waits in the browser's Dedicated Worker: the core is suspended (Asyncify) and the
// worker's timer wakes it, which a hidden tab does not slow down as it does a page's.
// A timer fires late, by a fraction of a millisecond and now and then by a few, which
// would stretch an update's 2,038 block waits by a second or more. So the worker learns
// that lateness, sleeps to the deadline less what it learnt, and spins the rest: never
// shorter than asked.
#include "platform/platform.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kMostLatenessUs = 4000;

std::int64_t nowUs() {
    return static_cast<std::int64_t>(std::floor(emscripten_get_now() * 1000.0));
}

// The browser coarsens its clock (to 100 us, or 5 us in a cross-origin isolated page) and
// may show a moment up to that much before it came: a deadline one step further is never
// reached early.
// clang-format off
EM_JS(int, clockStepUs, (), {
    return self.crossOriginIsolated ? 5 : 100;
});
// clang-format on

} // namespace

WaitDeadline platformDeadline(std::uint32_t ms) {
    return nowUs() + static_cast<std::int64_t>(ms) * 1000 + clockStepUs();
}

void platformWait(std::uint32_t ms) {
    if (ms != 0)
        platformWaitUntil(platformDeadline(ms));
}

void platformWaitUntil(WaitDeadline deadline) {
    // The worker has one thread; a browser tab has one worker running the core.
    static std::int64_t lateness = 1000;
    const std::int64_t asked = deadline - lateness;
    const std::int64_t sleepMs = (asked - nowUs()) / 1000;
    if (sleepMs > 0) {
        const std::int64_t wakeAt = nowUs() + sleepMs * 1000;
        emscripten_sleep(static_cast<unsigned>(sleepMs));
        // A late wake counts at once, an early one slowly: the few late wakes are what
        // would stretch the waits.
        const std::int64_t late = nowUs() - wakeAt;
        lateness = late > lateness ? std::min(late, kMostLatenessUs)
                                   : lateness - (lateness - std::max<std::int64_t>(late, 0)) / 64;
    }
    while (nowUs() < deadline) {
    }
}
