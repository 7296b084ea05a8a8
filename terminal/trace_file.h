// Support's trace of a command or a line (--trace): every report each unit sent and
// received, every wait asked and measured, and each unit's result, one JSON object a line,
// each naming the unit's port and device. The units only take note in memory; a thread of
// the trace's own appends to the file, so that tracing never holds up a request.
#pragma once

#include "terminal/unit_result.h"
#include "terminal/record_file.h"
#include "unitlink/wire_trace.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class TraceFile {
  public:
    TraceFile() = default;
    ~TraceFile() { finish(); }
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Opens `path` for appending, as RecordFile does, and writes the line that ties the
    // trace's microseconds to the time in UTC.
    FileOpening open(const std::wstring& path, std::wstring& reason);
    bool isOpen() const { return file_.isOpen(); }
    bool sameFileAs(const RecordFile& file) const { return file_.sameFileAs(file); }
    // What follows one session's unit record, naming the unit by its port and device in
    // each line; called from one thread at a time, whichever talks to the unit.
    WireTrace follow();
    void result(const std::wstring& port, const std::wstring& device, UnitResult result,
                const std::wstring& failure);
    // Writes what is left and stops taking lines; false when any line could not be written.
    bool finish();

  private:
    void take(const std::string& line);
    void writeOut();

    RecordFile file_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::string pending_;
    bool stopping_ = false;
    bool failed_ = false;
    std::int64_t startUs_ = 0;
    std::thread writer_;
};
