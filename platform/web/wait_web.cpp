// Waits in the browser's Dedicated Worker: the core is suspended (Asyncify) and the
// worker's timer wakes it, which a hidden tab does not slow down as it does a page's.
// A timer never fires early; a wait ends at its deadline on the worker's clock.
#include "platform/platform.h"

#include <emscripten.h>

#include <cmath>

namespace {

std::int64_t nowUs() {
    return static_cast<std::int64_t>(std::floor(emscripten_get_now() * 1000.0));
}

} // namespace

WaitDeadline platformDeadline(std::uint32_t ms) {
    return nowUs() + static_cast<std::int64_t>(ms) * 1000;
}

void platformWait(std::uint32_t ms) {
    if (ms != 0)
        platformWaitUntil(platformDeadline(ms));
}

void platformWaitUntil(WaitDeadline deadline) {
    for (std::int64_t left = deadline - nowUs(); left > 0; left = deadline - nowUs())
        emscripten_sleep(static_cast<unsigned>((left + 999) / 1000));
}
