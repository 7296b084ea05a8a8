// A station's record on the disk (and a trace's file): a file opened for appending, each
// record written whole in one write and on the disk before append() returns, so that a power cut loses no unit
// already reported and two stations appending to one file never interleave a line. Each
// system's calls are in linux/ and win32/.
#pragma once

#include <cstdint>
#include <string>

class RecordFile {
  public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens `path` for appending, creating it; false with the system's reason.
    bool open(const std::wstring& path, std::wstring& reason);
    bool isOpen() const { return handle_ != kClosed; }
    // One record, its line ending included; false when it was not written whole or, unless
    // `toDisk` is false (a trace's lines), not flushed to the disk.
    bool append(const std::string& line, bool toDisk = true);

  private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
};
