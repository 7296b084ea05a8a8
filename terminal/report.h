// report --log FILE…: a supervisor's view of station records, possibly shipped from many
// stations into one file. Per station and day (UTC): the units by result, the yield, units
// per hour from the first unit seen to the last finished, and the median cycle from plug-in
// to unplug; then every failure. A line that does not parse is counted and skipped; a line
// shipped twice (its id seen before) is counted once.
#pragma once

#include "terminal/terminal.h"
#include "terminal/unit_result.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct ShiftFailure {
    std::wstring station, port, device, time, codeLine;
    bool repeat = false;
};

struct StationDay {
    std::array<std::uint32_t, kUnitResults> count{};
    std::int64_t firstMs = 0, lastMs = 0; // first seen, last finished
    std::vector<std::uint64_t> cyclesMs;
};

class ShiftReport {
  public:
    // One line of a record, its line end left off.
    void add(const std::string& line);
    // What was read, once every line is in.
    void finish();

    // By station and day ("2026-12-10").
    std::map<std::pair<std::wstring, std::string>, StationDay> days;
    std::vector<ShiftFailure> failures; // in the order read
    std::uint32_t unreadable = 0, duplicates = 0;

  private:
    struct Result {
        std::wstring station;
        std::string day;
        std::int64_t seenMs;
    };
    std::map<std::wstring, Result> byId_;
    std::map<std::wstring, std::int64_t> unpluggedMs_;
};

void writeShiftReport(std::ostream& out, Language language, const ShiftReport& report);
void writeShiftReportJson(std::ostream& out, const ShiftReport& report);

// The command: every file read, the report written; kExitOk, or kExitUsage when a file
// could not be read (the others are reported all the same).
int reportCommand(const TerminalSetup& setup, const TerminalOptions& options);
