// What a station keeps on its disk besides standard output: the record (--log) and
// support's trace (--trace), each absent unless asked for. Every finished unit, of a line
// or of a single update, is kept here alone.
#pragma once

#include "terminal/options.h"
#include "terminal/record_file.h"
#include "terminal/station_record.h"
#include "terminal/trace_file.h"

#include <string>

class StationFiles {
  public:
    // Opens what `options` name before any unit is touched; false with the usage problem
    // (a record and a trace that are one file, a link, a FIFO, the system's reason).
    bool open(const TerminalOptions& options, Language language, const RecordSource& source,
              std::wstring& problem);
    bool keepsRecord() const { return record_.isOpen(); }
    // Null without --trace.
    TraceFile* trace() { return trace_.isOpen() ? &trace_ : nullptr; }

    // The next record line's id.
    std::wstring nextId() { return recordId(source_, ++sequence_); }
    // One finished unit: its line on the disk first, then its result in the trace. False
    // once the record could not be written: problem() then names the file and why.
    bool keep(const StationEntry& entry);
    // A line's unit, finished as `id`, taken out; false as keep().
    bool keepUnplugged(const std::wstring& id, const std::wstring& port,
                       const std::wstring& device, std::chrono::system_clock::time_point time);
    const std::wstring& problem() const { return problem_; }
    // The trace written out and closed; false when any of it could not be written.
    bool finishTrace() { return trace_.finish(); }

  private:
    bool append(const std::string& line);

    RecordFile record_;
    TraceFile trace_;
    std::wstring recordPath_;
    RecordSource source_;
    std::uint64_t sequence_ = 0;
    Language language_ = Language::English;
    std::wstring problem_;
};
