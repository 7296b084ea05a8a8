#include "terminal/report.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "session/text_encoding.h"
#include "terminal/record_reader.h"
#include "terminal/record_file.h"
#include "terminal/shown_text.h"
#include "terminal/station_board.h"

#include <ostream>

namespace {

// A record's lines are about 1 KB; anything far longer is no record, and is not kept.
constexpr std::size_t kLongestRecordLine = 64 * 1024;

int resultOf(const std::string& name) {
    for (int r = 0; r < kUnitResults; ++r)
        if (name == resultName(static_cast<UnitResult>(r)))
            return r;
    return -1;
}

std::string textOf(const std::map<std::string, RecordValue>& fields, const char* name) {
    const auto it = fields.find(name);
    return it != fields.end() && it->second.kind == RecordValue::Text ? it->second.text
                                                                      : std::string();
}

std::uint64_t unitsPerHour(const StationDay& d) {
    std::uint32_t units = 0;
    for (std::uint32_t n : d.count)
        units += n;
    return unitsPerHourTenths(units, static_cast<std::uint64_t>(d.lastMs - d.firstMs));
}

} // namespace

void ShiftReport::add(const std::string& line) {
    if (line.find_first_not_of(" \t\r") == std::string::npos)
        return;
    std::map<std::string, RecordValue> fields;
    std::int64_t at = 0;
    if (!readRecordLine(line, fields) || !parseUtcTimestamp(textOf(fields, "time"), at)) {
        ++unreadable;
        return;
    }
    const std::wstring id = textFromUtf8(textOf(fields, "id"));
    if (textOf(fields, "event") == "unplugged" && !id.empty()) {
        unpluggedMs_[id] = at;
        return;
    }
    const int result = resultOf(textOf(fields, "result"));
    if (result < 0) {
        ++unreadable;
        return;
    }
    if (!id.empty() && byId_.count(id) != 0) {
        ++duplicates;
        return;
    }
    std::int64_t seen = at;
    parseUtcTimestamp(textOf(fields, "seen"), seen);
    const Result r{textFromUtf8(textOf(fields, "station")), textOf(fields, "time").substr(0, 10), seen};
    StationDay& day = days[{r.station, r.day}];
    const bool first = day.firstMs == 0 && day.lastMs == 0;
    day.firstMs = first || seen < day.firstMs ? seen : day.firstMs;
    day.lastMs = first || at > day.lastMs ? at : day.lastMs;
    ++day.count[static_cast<std::size_t>(result)];
    if (!id.empty())
        byId_[id] = r;
    if (static_cast<UnitResult>(result) == UnitResult::Failed) {
        const auto repeat = fields.find("repeat");
        failures.push_back({r.station, textFromUtf8(textOf(fields, "port")), textFromUtf8(textOf(fields, "device")),
                            textFromUtf8(textOf(fields, "time")), textFromUtf8(textOf(fields, "codeLine")),
                            repeat != fields.end() && repeat->second.flag});
    }
}

void ShiftReport::finish() {
    for (const auto& unplug : unpluggedMs_) {
        const auto it = byId_.find(unplug.first);
        if (it == byId_.end() || unplug.second < it->second.seenMs)
            continue;
        days[{it->second.station, it->second.day}].cyclesMs.push_back(
            static_cast<std::uint64_t>(unplug.second - it->second.seenMs));
    }
    unpluggedMs_.clear();
}

void writeShiftReport(std::ostream& out, Language language, const ShiftReport& report) {
    if (report.days.empty())
        out << utf8Lines(loadText(language, IDS_CLI_REPORT_NOTHING)) << '\n';
    for (const auto& entry : report.days) {
        const StationDay& d = entry.second;
        const std::uint32_t updated = d.count[static_cast<int>(UnitResult::Updated)];
        const std::uint32_t failed = d.count[static_cast<int>(UnitResult::Failed)];
        const std::uint64_t median = medianOf(d.cyclesMs);
        out << utf8Lines(shownSafely(formatText(
                   loadText(language, IDS_CLI_REPORT_STATION),
                   {entry.first.first, std::wstring(entry.first.second.begin(),
                                                    entry.first.second.end())})))
            << '\n'
            << utf8Lines(formatText(loadText(language, IDS_CLI_REPORT_COUNTS),
                                    {updated, failed, d.count[static_cast<int>(UnitResult::Skipped)],
                                     d.count[static_cast<int>(UnitResult::Declined)],
                                     d.count[static_cast<int>(UnitResult::Changed)]}))
            << '\n'
            << utf8Lines(formatText(loadText(language, IDS_CLI_REPORT_PACE),
                                    {yieldText(language, yieldPermille(updated, failed)),
                                     tenthsText(language, unitsPerHour(d)),
                                     median == 0 ? std::wstring(L"-") : durationText(median)}))
            << '\n';
    }
    if (!report.failures.empty()) {
        out << utf8Lines(loadText(language, IDS_CLI_REPORT_FAILURES)) << '\n';
        for (const ShiftFailure& f : report.failures) {
            std::wstring line = L"  " + f.station + L"  " + (f.port.empty() ? f.device : f.port) +
                                L"  " + f.time + L"  " + f.codeLine;
            if (f.repeat)
                line += L"  " + loadText(language, IDS_CLI_SCREEN_REPEAT);
            out << utf8Lines(shownSafely(line)) << '\n';
        }
    }
    if (report.unreadable > 0)
        out << utf8Lines(formatText(loadText(language, IDS_CLI_REPORT_UNREADABLE),
                                    {report.unreadable}))
            << '\n';
    out << std::flush;
}

void writeShiftReportJson(std::ostream& out, const ShiftReport& report) {
    std::vector<std::string> days, failures;
    for (const auto& entry : report.days) {
        const StationDay& d = entry.second;
        JsonObject day;
        day.text("station", entry.first.first)
            .word("day", entry.first.second.c_str());
        for (int r = 0; r < kUnitResults; ++r)
            day.number(resultName(static_cast<UnitResult>(r)), d.count[static_cast<std::size_t>(r)]);
        const int yield = yieldPermille(d.count[0], d.count[1]);
        const std::uint64_t pace = unitsPerHour(d);
        day.json("yieldPercent", yield < 0 ? "null"
                                           : std::to_string(yield / 10) + "." +
                                                 std::to_string(yield % 10))
            .json("unitsPerHour", std::to_string(pace / 10) + "." + std::to_string(pace % 10))
            .number("medianCycleMs", medianOf(d.cyclesMs))
            .number("cycles", d.cyclesMs.size());
        days.push_back(day.str());
    }
    for (const ShiftFailure& f : report.failures) {
        JsonObject failure;
        failure.text("station", f.station)
            .text("port", f.port)
            .text("device", f.device)
            .text("time", f.time)
            .text("codeLine", f.codeLine)
            .flag("repeat", f.repeat);
        failures.push_back(failure.str());
    }
    JsonObject line("report");
    line.json("days", jsonArray(days))
        .json("failures", jsonArray(failures))
        .number("unreadableLines", report.unreadable)
        .number("duplicateLines", report.duplicates);
    out << line.str() << '\n' << std::flush;
}

int reportCommand(const TerminalSetup& setup, const TerminalOptions& options) {
    ShiftReport report;
    int status = kExitOk;
    for (const std::wstring& path : options.logs) {
        std::wstring reason;
        std::FILE* file = openRecordForReading(path, reason);
        if (file == nullptr) {
            *setup.err << utf8Lines(formatText(loadText(setup.language, IDS_CLI_REPORT_UNOPENED),
                                               {shownSafely(path), reason}))
                       << '\n'
                       << std::flush;
            status = kExitUsage;
            continue;
        }
        std::string line;
        bool tooLong = false;
        for (int c; (c = std::getc(file)) != EOF;) {
            if (c != '\n') {
                if (line.size() < kLongestRecordLine)
                    line += static_cast<char>(c);
                else
                    tooLong = true;
                continue;
            }
            if (tooLong)
                ++report.unreadable;
            else
                report.add(line);
            line.clear();
            tooLong = false;
        }
        // The last line, cut off without its end.
        if (tooLong)
            ++report.unreadable;
        else
            report.add(line);
        std::fclose(file);
    }
    report.finish();
    if (options.json)
        writeShiftReportJson(*setup.out, report);
    else
        writeShiftReport(*setup.out, setup.language, report);
    return status;
}
