// The station record on Linux: O_APPEND makes each write land whole at the end, whoever
// else appends; fdatasync puts it on the disk.
#include "terminal/record_file.h"

#include "terminal/linux/system_text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::wstring systemReason(int error) {
    return systemText(std::strerror(error));
}

// Whether a file-size limit (ulimit -f, LimitFSIZE=) leaves no room for `bytes` more: such
// a write would be cut off at the limit and leave a fragment of a line.
bool beyondSizeLimit(int fd, std::size_t bytes) {
    rlimit limit{};
    struct stat file {};
    return getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           fstat(fd, &file) == 0 &&
           static_cast<rlim_t>(file.st_size) + bytes > limit.rlim_cur;
}

} // namespace

RecordFile::~RecordFile() {
    if (isOpen())
        close(static_cast<int>(handle_));
}

FileOpening RecordFile::open(const std::wstring& path, std::wstring& reason) {
    // Without O_NONBLOCK a FIFO would hold the open until someone reads it; readable too,
    // so that a line cut off at the end can be seen.
    const std::string name = systemBytes(path);
    constexpr int kFlags = O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(name.c_str(), O_RDWR | kFlags, 0644);
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.c_str(), O_WRONLY | kFlags, 0644);
    if (fd < 0) {
        const int error = errno;
        struct stat link {};
        if (error == ELOOP && lstat(name.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            return FileOpening::SymbolicLink;
        if (error == ENXIO || error == EISDIR)
            return FileOpening::NotRegularFile;
        reason = systemReason(error);
        return FileOpening::Failed;
    }
    struct stat file {};
    if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
        close(fd);
        return FileOpening::NotRegularFile;
    }
    fcntl(fd, F_SETFL, O_APPEND);
    handle_ = fd;
    identity_[0] = static_cast<std::uint64_t>(file.st_dev);
    identity_[1] = static_cast<std::uint64_t>(file.st_ino);
    checkEnd_ = true;
    return FileOpening::Opened;
}

bool RecordFile::endsInsideALine() const {
    const int fd = static_cast<int>(handle_);
    struct stat file {};
    char last = '\n';
    return fstat(fd, &file) == 0 && file.st_size > 0 &&
           pread(fd, &last, 1, file.st_size - 1) == 1 && last != '\n';
}

bool RecordFile::append(const std::string& line, bool toDisk) {
    const int fd = static_cast<int>(handle_);
    const std::string whole = checkEnd_ && endsInsideALine() ? "\n" + line : line;
    checkEnd_ = false;
    if (beyondSizeLimit(fd, whole.size())) {
        lastError_ = systemReason(EFBIG);
        checkEnd_ = true;
        return false;
    }
    // One write, so that it lands whole; only a limit (a full disk, a file size) cuts it,
    // and writing the rest then tells which.
    int error = 0;
    for (std::size_t done = 0; done < whole.size() && error == 0;) {
        const ssize_t written = write(fd, whole.data() + done, whole.size() - done);
        if (written > 0)
            done += static_cast<std::size_t>(written);
        else if (written == 0)
            error = ENOSPC;
        else if (errno != EINTR)
            error = errno;
    }
    if (error == 0 && toDisk && fdatasync(fd) != 0)
        error = errno;
    if (error == 0)
        return true;
    lastError_ = systemReason(error);
    checkEnd_ = true;
    return false;
}

std::FILE* openRecordForReading(const std::wstring& path, std::wstring& reason) {
    std::FILE* file = std::fopen(systemBytes(path).c_str(), "rb");
    if (file == nullptr)
        reason = systemReason(errno);
    return file;
}
