// One unit's line in the station record (--log): when it finished, where it was plugged in,
// what it was before, how it ended and how long it took, as one JSON object on one line.
#pragma once

#include "session/image_facts.h"
#include "terminal/unit_result.h"

#include <chrono>
#include <cstdint>
#include <string>

struct StationEntry {
    std::chrono::system_clock::time_point finishedAt;
    std::wstring port, device, product;
    std::wstring unit, bootloader, controller; // the versions before the update
    UnitResult result;
    std::wstring failure; // the failure's text, its code line last
    std::uint64_t durationMs;
    ImageFacts image; // what was, or would have been, written
};

// {"time":"2026-12-09T06:25:01.123Z","port":…,"device":…,"product":…,"unit":…,
// "bootloader":…,"controller":…,"result":…,"codeLine":…,"durationMs":…,"imageVersion":…,
// "imageSize":…,"imageSha256":…} and a line end.
std::string stationLine(const StationEntry& entry);
// A failure's last line, its codes; the text alone where it has none.
std::wstring codeLine(const std::wstring& failure);
// A moment in UTC, ISO 8601 with milliseconds.
std::string utcTimestamp(std::chrono::system_clock::time_point moment);
