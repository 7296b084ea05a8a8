// The station record on Linux: O_APPEND makes each write land whole at the end, whoever
// else appends; fdatasync puts it on the disk.
#include "terminal/record_file.h"

#include "platform/linux/device_path.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

RecordFile::~RecordFile() {
    if (isOpen())
        close(static_cast<int>(handle_));
}

bool RecordFile::open(const std::wstring& path, std::wstring& reason) {
    const int fd = ::open(narrowPath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const char* why = std::strerror(errno);
        reason.assign(why, why + std::strlen(why));
        return false;
    }
    handle_ = fd;
    return true;
}

bool RecordFile::append(const std::string& line, bool toDisk) {
    const int fd = static_cast<int>(handle_);
    ssize_t written;
    do
        written = write(fd, line.data(), line.size());
    while (written < 0 && errno == EINTR);
    // A record cut short is worse than none: it counts as not written.
    return written == static_cast<ssize_t>(line.size()) && (!toDisk || fdatasync(fd) == 0);
}
