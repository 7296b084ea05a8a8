// The figure both window benchmarks print: the time from the lock request to the
// write-protect-on request of the update in the simulated unit's transcript, against the
// 45,840 ms of fixed waits in between.
#pragma once

#include "sim/sim_unit.h"

#include <cstdint>
#include <cstdio>

inline std::uint64_t requestTime(std::uint8_t command, std::uint8_t parameter) {
    for (const SimExchange& exchange : simTranscript())
        if (exchange.request[1] == command && exchange.request[3] == parameter)
            return exchange.writtenAt;
    return 0;
}

// Prints the figure; false when the update did not run to its end.
inline bool printLockToProtect() {
    const std::uint64_t lock = requestTime(0x0B, 0x01);
    const std::uint64_t protect = requestTime(0x20, 0x01);
    if (lock == 0 || protect == 0) {
        std::printf("the update did not run to its end\n");
        return false;
    }
    const double fixedMs = 45840.0;
    const double tookMs = static_cast<double>(protect - lock);
    std::printf("lock to write-protect-on: %.0f ms, fixed waits %.0f ms, overhead %.0f ms "
                "(%.2f %%)\n",
                tookMs, fixedMs, tookMs - fixedMs, 100.0 * (tookMs - fixedMs) / fixedMs);
    return true;
}
