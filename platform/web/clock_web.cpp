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

// clang-format off
WEB_SUSPENDING_JS(void, sleepFor, (int ms), {
    await new Promise((resolve) => setTimeout(resolve, ms));
});
EM_JS(void, writeNotBefore, (double ms), {
    self.orcaWebHid.notBefore = Math.max(self.orcaWebHid.notBefore, ms);
});
EM_JS(double, notBeforeMs, (), {
    return self.orcaWebHid.notBefore;
});
// clang-format on

} // namespace

std::int64_t clockNow() {
    return static_cast<std::int64_t>(std::floor(emscripten_get_now() * 1000.0));
}

std::int64_t clockUnitsPerMs() {
    return 1000;
}

// The browser coarsens its clock, to 100 us (5 us when cross-origin isolated), and may
// show a moment a little before or after it came: a wait is exact on the worker's own
// clock, the only one it has. No margin could make it exact in real time.
std::int64_t clockStep() {
    return 0;
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

// From the wait's end to the report's leaving takes the core some tens of microseconds, more
// than the rest of the wait is off: the worker's write spins out its last moments instead,
// right before the report leaves (platform/web/web_hid.js).
std::int64_t clockHandOver(std::int64_t deadline) {
    constexpr std::int64_t kLeadUs = 300;
    writeNotBefore(static_cast<double>(deadline) / 1000.0);
    return deadline - kLeadUs;
}

std::int64_t clockHandedOverEnd() {
    return static_cast<std::int64_t>(std::llround(notBeforeMs() * 1000.0));
}

std::uint64_t clockLastError() {
    return static_cast<std::uint64_t>(errno);
}

void clockRestoreError(std::uint64_t error) {
    errno = static_cast<int>(error);
}
