#include "terminal/station_files.h"

#include "resources/resource_ids.h"
#include "session/presentation.h"

namespace {

// Why a file was refused, in a word the usage line can carry.
bool opened(FileOpening opening, Language language, unsigned unopened, const std::wstring& path,
            const std::wstring& reason, std::wstring& problem) {
    std::wstring why = reason;
    switch (opening) {
    case FileOpening::Opened:
        return true;
    case FileOpening::SymbolicLink:
        why = loadText(language, IDS_CLI_FILE_IS_LINK);
        break;
    case FileOpening::NotRegularFile:
        why = loadText(language, IDS_CLI_FILE_NOT_REGULAR);
        break;
    case FileOpening::Failed:
        break;
    }
    problem = formatText(loadText(language, unopened), {path, why});
    return false;
}

} // namespace

bool StationFiles::open(const TerminalOptions& options, Language language,
                        const RecordSource& source, std::wstring& problem) {
    language_ = language;
    source_ = source;
    recordPath_ = options.log;
    std::wstring reason;
    if (!options.log.empty() &&
        !opened(record_.open(options.log, reason), language, IDS_CLI_LOG_UNOPENED, options.log,
                reason, problem))
        return false;
    if (options.trace.empty())
        return true;
    // Looked at before the trace writes its first line, which must not go into the record.
    RecordFile traceFile;
    if (!opened(traceFile.open(options.trace, reason), language, IDS_CLI_TRACE_UNOPENED,
                options.trace, reason, problem))
        return false;
    if (traceFile.sameFileAs(record_)) {
        problem = loadText(language, IDS_CLI_SAME_FILE);
        return false;
    }
    return opened(trace_.open(options.trace, reason), language, IDS_CLI_TRACE_UNOPENED,
                  options.trace, reason, problem);
}

bool StationFiles::append(const std::string& line) {
    if (record_.isOpen() && !record_.append(line) && problem_.empty())
        problem_ = formatText(loadText(language_, IDS_CLI_LOG_FAILED),
                              {recordPath_, record_.lastError()});
    return problem_.empty();
}

bool StationFiles::keep(const StationEntry& entry) {
    const bool recorded = append(stationLine(source_, entry));
    trace_.result(entry.port, entry.device, entry.result, entry.failure);
    return recorded;
}

bool StationFiles::keepUnplugged(const std::wstring& id, const std::wstring& port,
                                 const std::wstring& device,
                                 std::chrono::system_clock::time_point time) {
    return append(unpluggedLine(source_, id, port, device, time));
}
