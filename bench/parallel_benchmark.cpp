// The parallel production line against simulated units in real time, the units answering
// at once: 1, 4 and 8 units written at once (`update --all --yes --quiet`), each run's
// time from start to tally beside the first's, every unit's waits between one block's
// answer and the next block's request (median and maximum), CPU time per unit, and units
// per hour. Prints figures, tests nothing.
#include "resources/generate/firmware_pattern.h"
#include "resources/texts.h"
#include "sim/sim_unit.h"
#include "terminal/terminal.h"
#include "unitlink/unit_connection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <vector>

namespace {

struct Figures {
    double wallMs, cpuMs;
    std::vector<std::uint64_t> waits; // every unit's, in ms
    std::uint64_t worstMedian = 0;
    int status;
};

Figures runLine(int units) {
    simReset();
    simSetRealTime(true);
    simSetFirmwareImage(standInImage());
    for (int unit = 0; unit < units; ++unit)
        simAddDemoUnit(L"/dev/hidraw" + std::to_wstring(unit));
    std::istringstream in;
    std::ostringstream out, err;
    TerminalSetup setup;
    setup.in = &in;
    setup.out = &out;
    setup.err = &err;
    const std::clock_t cpuBefore = std::clock();
    const auto start = std::chrono::steady_clock::now();
    Figures f{};
    f.status = terminalMain({L"update", L"--all", L"--yes", L"--quiet"}, setup);
    f.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    f.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    for (int unit = 0; unit < units; ++unit) {
        std::vector<std::uint64_t> own;
        const SimExchange* previous = nullptr;
        for (const SimExchange& e : simTranscript()) {
            if (e.device != unit)
                continue;
            if (previous != nullptr && previous->request[1] == WRITE_BLOCK &&
                e.request[1] == WRITE_BLOCK)
                own.push_back(e.writtenAt - previous->readAt);
            previous = &e;
        }
        std::sort(own.begin(), own.end());
        if (!own.empty())
            f.worstMedian = std::max(f.worstMedian, own[own.size() / 2]);
        f.waits.insert(f.waits.end(), own.begin(), own.end());
    }
    std::sort(f.waits.begin(), f.waits.end());
    return f;
}

} // namespace

int main() {
    std::printf("units  start to tally  vs one unit  waits median/max  worst unit's median  "
                "CPU per unit  units per hour  exit\n");
    double single = 0;
    for (int units : {1, 4, 8}) {
        const Figures f = runLine(units);
        if (units == 1)
            single = f.wallMs;
        const std::uint64_t median = f.waits.empty() ? 0 : f.waits[f.waits.size() / 2];
        const std::uint64_t most = f.waits.empty() ? 0 : f.waits.back();
        std::printf(
            "%5d  %11.0f ms  %+9.2f %%  %6llu / %3llu ms  %16llu ms  %9.1f ms  %14.0f  %4d\n",
            units, f.wallMs, 100.0 * (f.wallMs - single) / single,
            static_cast<unsigned long long>(median), static_cast<unsigned long long>(most),
            static_cast<unsigned long long>(f.worstMedian), f.cpuMs / units,
            units * 3600000.0 / f.wallMs, f.status);
    }
    std::printf("(waits: from a block's answer to the next block's request, in whole ms)\n");
    return 0;
}
