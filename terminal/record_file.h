// A station's record on the disk (and a trace's file): a regular file opened for appending,
// each record written whole in one write and on the disk before append() returns, so that
// a power cut loses no unit already reported and two stations appending to one file never
// interleave a line. A line cut off by a crash or a full disk is ended before the next one,
// so that a reader loses that line alone. Each system's calls are in linux/ and win32/.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

enum class FileOpening { Opened, Failed, SymbolicLink, NotRegularFile };

class RecordFile {
  public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens `path` for appending, creating it. Refuses a symbolic link and anything but a
    // regular file (a FIFO, a device) without waiting on it; Failed with the system's
    // reason in `reason`.
    FileOpening open(const std::wstring& path, std::wstring& reason);
    bool isOpen() const { return handle_ != kClosed; }
    // Whether both are open on one file, by whatever name.
    bool sameFileAs(const RecordFile& other) const {
        return isOpen() && other.isOpen() && identity_[0] == other.identity_[0] &&
               identity_[1] == other.identity_[1];
    }
    // One record, its line ending included; false when it was not written whole or, unless
    // `toDisk` is false (a trace's lines), not flushed to the disk. Then lastError() tells
    // the system's reason, and the next append first ends what was left of this one.
    bool append(const std::string& line, bool toDisk = true);
    const std::wstring& lastError() const { return lastError_; }

  private:
    // Whether the file's last byte is not a line end (a line cut off); false when empty
    // or when it cannot be read.
    bool endsInsideALine() const;

    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
    std::uint64_t identity_[2] = {};
    bool checkEnd_ = true;
    std::wstring lastError_;
};

// A record opened to be read back (report); null with the system's reason.
std::FILE* openRecordForReading(const std::wstring& path, std::wstring& reason);
