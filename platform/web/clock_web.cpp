// The waits' clock in the browser's Dedicated Worker: the core is suspended and the
// worker's timer wakes it, which a hidden tab does not slow down as it does a page's.
// A timer fires late, by a fraction of a millisecond and now and then by a few: a late
// wake counts at once, an early one slowly, since the few late wakes are what would
// stretch the waits.
#include "platform/wait/wait_clock.h"
#include "platform/web/suspending_js.h"

#include <emscripten.h>

#include <cerrno>
#include <cmath>

namespace {

// The browser coarsens its clock (to 100 us, or 5 us in a cross-origin isolated page) and
// may show a moment up to that much before it came.
// clang-format off
EM_JS(int, clockStepUs, (), {
    return self.crossOriginIsolated ? 5 : 100;
});
WEB_SUSPENDING_JS(void, sleepFor, (int ms), {
    await new Promise((resolve) => setTimeout(resolve, ms));
});
// clang-format on

} // namespace

std::int64_t clockNow() {
    return static_cast<std::int64_t>(std::floor(emscripten_get_now() * 1000.0));
}

std::int64_t clockUnitsPerMs() {
    return 1000;
}

std::int64_t clockStep() {
    return clockStepUs();
}

LatenessRule clockLatenessRule() {
    return {1000, 4000, 0, 1, 64};
}

// The worker's timer takes whole milliseconds.
std::int64_t clockSleepToward(std::int64_t at) {
    const std::int64_t now = clockNow();
    const std::int64_t sleepMs = (at - now) / 1000;
    if (sleepMs <= 0)
        return kNotAimed;
    sleepFor(static_cast<int>(sleepMs));
    return now + sleepMs * 1000;
}

void clockYield() {}

std::uint64_t clockLastError() {
    return static_cast<std::uint64_t>(errno);
}

void clockRestoreError(std::uint64_t error) {
    errno = static_cast<int>(error);
}
