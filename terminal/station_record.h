// One unit's lines in the station record (--log), each one JSON object on one line: when it
// finished, who wrote it where, what it was before, how it ended, which image it got and
// who the unit and its controller are; and, for a line, when it was unplugged.
#pragma once

#include "session/image_facts.h"
#include "session/session_view.h"
#include "terminal/unit_result.h"

#include <chrono>
#include <cstdint>
#include <string>

// Who writes a record: the station's name (--station, else the host's), the host, and
// this run, told apart from every other run of the station by its start and process.
struct RecordSource {
    std::wstring station, host;
    std::chrono::system_clock::time_point start;
    std::uint32_t processId = 0;
};

struct StationEntry {
    std::wstring id; // recordId()
    std::chrono::system_clock::time_point finishedAt, seenAt, startedAt;
    std::wstring port, device, product;
    std::wstring unit, bootloader, controller; // the versions before the update
    UnitResult result = UnitResult::Failed;
    std::wstring failure; // the failure's text, its code line last
    std::uint64_t durationMs = 0;
    ImageFacts image; // what was, or would have been, written
    UnitIdentity identity;
    bool repeat = false; // this controller failed at this socket before, in this run
};

// "<station>/<start, compact UTC>-<process>/<sequence>": unique to one line of one run, so
// that a copy shipped twice is told from another unit.
std::wstring recordId(const RecordSource& source, std::uint64_t sequence);

// {"time":"2026-12-09T06:25:01.123Z","id":…,"station":…,"host":…,"program":…,
// "programVersion":…,"port":…,"device":…,"product":…,"unit":…,"bootloader":…,
// "controller":…,"result":…,"codeLine":…,"repeat":…,"seen":…,"started":…,"durationMs":…,
// "imageVersion":…,"imageSize":…,"imageSha256":…,"identityWord":…,"bootIdentity":…,
// "controllerInfo":…,"bootInfo":…} and a line end.
std::string stationLine(const RecordSource& source, const StationEntry& entry);
// {"time":…,"id":…,"station":…,"port":…,"device":…,"event":"unplugged"}: the unit of the
// line `id` was taken out at `time`.
std::string unpluggedLine(const RecordSource& source, const std::wstring& id,
                          const std::wstring& port, const std::wstring& device,
                          std::chrono::system_clock::time_point time);
// A failure's last line, its codes; the text alone where it has none.
std::wstring codeLine(const std::wstring& failure);
// A moment in UTC, ISO 8601 with milliseconds.
std::string utcTimestamp(std::chrono::system_clock::time_point moment);
// Bytes as lowercase hex digits, in the order they came.
std::string hexText(const std::uint8_t* bytes, std::size_t count);
// A controller told from every other by what its identification read, leaving out what an
// update changes (its firmware version); empty where nothing was read.
std::string controllerKey(const UnitIdentity& identity);
