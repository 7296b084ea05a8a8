// The demo's operator for a shift at a bench of sockets: what the station screen is
// watched with.
#include "sim/sim_state.h"
#include "sim/sim_unit.h"

#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

struct Socket {
    std::wstring port;
    int device = -1;        // plugged in; -1: empty
    std::uint32_t serial = 0;
    bool failing = false;   // this try fails at its erase
    bool comesBack = false; // the controller that failed is plugged in again next
    int idleTurns = 0;      // turns to wait before the next plugging
};

constexpr auto kTurn = std::chrono::milliseconds(250);

} // namespace

bool simUnitSettled(int device, std::uint64_t quietMs) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    const SimDevice& d = simBus.devices.at(static_cast<std::size_t>(device));
    return d.present && d.sawLock && simClockNow() - d.lastRequestAt >= quietMs;
}

void simStartDemoShift(std::wstring (*pathOf)(int plugging), int sockets) {
    simRunDemoThread([pathOf, sockets] {
        std::vector<Socket> bench(static_cast<std::size_t>(sockets));
        for (std::size_t i = 0; i < bench.size(); ++i) {
            bench[i].port = i == 0 ? L"1-1" : L"1-2." + std::to_wstring(i);
            bench[i].idleTurns = static_cast<int>(i) * 4; // one a second, as an operator goes
        }
        int pluggings = 0;
        std::uint32_t nextSerial = 0x00C0FFEE;
        for (;;) {
            for (Socket& s : bench) {
                if (s.device >= 0) {
                    // Taken out a little after its update ended.
                    // Longer than any wait within an update (4 s after the erase).
                    if (simUnitSettled(s.device, 6000)) {
                        simRemoveDevice(s.device);
                        s.device = -1;
                        s.comesBack = s.failing;
                        s.idleTurns = 8 + static_cast<int>(s.serial % 8);
                    }
                    continue;
                }
                if (s.idleTurns-- > 0)
                    continue;
                if (!s.comesBack)
                    s.serial = nextSerial++;
                s.failing = !s.comesBack && s.serial % 5 == 0;
                s.comesBack = false;
                s.device = simAddDemoUnit(pathOf(pluggings++), s.port);
                simChangeUnitConfig(s.device, [&s](SimUnitConfig& c) { c.controllerSerial = s.serial; });
                if (s.failing)
                    simAddFault(s.device, {SimFaultKind::StatusError, 0x1E, 1, 7}); // ERASE
            }
            if (!simDemoPause(kTurn))
                return;
        }
    });
}
