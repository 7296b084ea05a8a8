// The production line against simulated units in real time, the units answering at once:
// 1, 4, 8 and 16 units written at once (`update --all --yes --quiet`), 16 also with the
// station record (--log), support's trace (--trace) and both, and once more plain, for the
// noise. Each run's time from start to tally beside the first's, the waits between one
// block's answer and the next block's request (median and longest, of each unit for 16),
// how many ended early, CPU time per unit, and units per hour. Prints figures, tests
// nothing.
#include "resources/generate/firmware_pattern.h"
#include "resources/texts.h"
#include "sim/sim_unit.h"
#include "terminal/terminal.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct UnitWaits {
    std::uint64_t median = 0, longest = 0; // µs
};

struct Figures {
    double wallMs, cpuMs;
    std::vector<UnitWaits> units;
    std::uint64_t median = 0, longest = 0, early = 0;
    int status;
};

struct Run {
    int units;
    bool log, trace;
    const char* name;
};

Figures runLine(const Run& run) {
    const std::string log = "/tmp/orca-benchmark-record.jsonl";
    const std::string trace = "/tmp/orca-benchmark-trace.jsonl";
    std::remove(log.c_str());
    std::remove(trace.c_str());
    simReset();
    simSetRealTime(true);
    simSetFirmwareImage(standInImage());
    for (int unit = 0; unit < run.units; ++unit) {
        SimUnitConfig config;
        config.port = L"1-" + std::to_wstring(unit / 4 + 1) + L"." + std::to_wstring(unit % 4 + 1);
        simAddUnit(L"/dev/hidraw" + std::to_wstring(unit), config);
    }
    std::vector<std::wstring> args{L"update", L"--all", L"--yes", L"--quiet"};
    if (run.log)
        args.insert(args.end(), {L"--log", std::wstring(log.begin(), log.end())});
    if (run.trace)
        args.insert(args.end(), {L"--trace", std::wstring(trace.begin(), trace.end())});
    std::istringstream in;
    std::ostringstream out, err;
    TerminalSetup setup;
    setup.in = &in;
    setup.out = &out;
    setup.err = &err;
    const std::clock_t cpuBefore = std::clock();
    const auto start = std::chrono::steady_clock::now();
    Figures f{};
    f.status = terminalMain(args, setup);
    f.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    f.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    std::vector<std::uint64_t> all;
    for (int unit = 0; unit < run.units; ++unit) {
        std::vector<std::uint64_t> own;
        const SimExchange* previous = nullptr;
        for (const SimExchange& e : simTranscript()) {
            if (e.device != unit)
                continue;
            if (previous != nullptr && previous->request[1] == WRITE_BLOCK &&
                e.request[1] == WRITE_BLOCK)
                own.push_back(e.writtenAtUs - previous->readAtUs);
            previous = &e;
        }
        std::sort(own.begin(), own.end());
        UnitWaits waits;
        if (!own.empty())
            waits = {own[own.size() / 2], own.back()};
        f.units.push_back(waits);
        for (std::uint64_t wait : own)
            f.early += wait < 1000ull * kStepWaitMs;
        all.insert(all.end(), own.begin(), own.end());
    }
    std::sort(all.begin(), all.end());
    if (!all.empty()) {
        f.median = all[all.size() / 2];
        f.longest = all.back();
    }
    std::remove(log.c_str());
    std::remove(trace.c_str());
    return f;
}

} // namespace

int main() {
    const Run runs[] = {{1, false, false, "plain"},      {4, false, false, "plain"},
                        {8, false, false, "plain"},      {16, false, false, "plain"},
                        {16, true, false, "--log"},      {16, false, true, "--trace"},
                        {16, true, true, "--log --trace"}, {16, false, false, "plain again"}};
    std::printf("units  files          start to tally  vs one unit  waits median/longest  "
                "early  CPU per unit  units per hour  exit\n");
    double single = 0;
    std::vector<std::pair<const Run*, Figures>> sixteen;
    for (const Run& run : runs) {
        const Figures f = runLine(run);
        if (run.units == 1)
            single = f.wallMs;
        std::printf("%5d  %-13s  %11.0f ms  %+9.2f %%  %8.3f / %6.3f ms  %5llu  %9.1f ms  %14.0f  "
                    "%4d\n",
                    run.units, run.name, f.wallMs, 100.0 * (f.wallMs - single) / single,
                    f.median / 1000.0, f.longest / 1000.0, static_cast<unsigned long long>(f.early),
                    f.cpuMs / run.units, run.units * 3600000.0 / f.wallMs, f.status);
        std::fflush(stdout);
        if (run.units == 16)
            sixteen.push_back({&run, f});
    }
    std::printf("\neach unit's wait after a block with 16 at once, median / longest in ms:\n");
    std::printf("unit ");
    for (const auto& run : sixteen)
        std::printf("  %-17s", run.first->name);
    std::printf("\n");
    for (std::size_t unit = 0; unit < 16; ++unit) {
        std::printf("%4zu ", unit + 1);
        for (const auto& run : sixteen)
            std::printf("  %7.3f / %7.3f", run.second.units[unit].median / 1000.0,
                        run.second.units[unit].longest / 1000.0);
        std::printf("\n");
    }
    std::printf("(waits: from a block's answer to the next block's request; %u ms asked)\n",
                static_cast<unsigned>(kStepWaitMs));
    return 0;
}
