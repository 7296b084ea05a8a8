// Waits on the simulated clock: virtual in tests, real for the demo.
#include "platform/platform.h"
#include "sim/sim_state.h"

void platformWait(std::uint32_t ms) {
    std::unique_lock<std::mutex> held(simBus.lock);
    simClockPass(ms, held);
}

WaitDeadline platformDeadline(std::uint32_t ms) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return static_cast<WaitDeadline>(simClockNowUs() + ms * 1000ull);
}

void platformWaitUntil(WaitDeadline deadline) {
    std::unique_lock<std::mutex> held(simBus.lock);
    simClockPassUntilUs(static_cast<std::uint64_t>(deadline), held);
}

std::int64_t platformMicroseconds() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return static_cast<std::int64_t>(simClockNowUs());
}
