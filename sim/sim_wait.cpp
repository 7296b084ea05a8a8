// Waits on the simulated clock: virtual in tests, real for the demo.
#include "platform/platform.h"
#include "sim/sim_state.h"

void platformWait(std::uint32_t ms) {
    std::unique_lock<std::mutex> held(simBus.lock);
    simClockPass(ms, held);
}
