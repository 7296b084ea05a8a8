// The station record on Windows: a handle with FILE_APPEND_DATA and without FILE_WRITE_DATA
// writes each write at the end. Under Wine that end is found and then written to, and two
// stations lost records to each other between the two: each append therefore holds a lock
// on one byte far beyond any record, which every station of ours takes.
// FlushFileBuffers takes FILE_APPEND_DATA too.
#include "terminal/record_file.h"

#include <windows.h>

namespace {

std::wstring systemReason(DWORD error) {
    wchar_t text[512] = {};
    if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, 512, nullptr) == 0)
        swprintf(text, 512, L"error %lu", static_cast<unsigned long>(error));
    std::wstring reason = text;
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
        reason.pop_back();
    return reason;
}

} // namespace

RecordFile::~RecordFile() {
    if (isOpen())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileOpening RecordFile::open(const std::wstring& path, std::wstring& reason) {
    // The link itself, not what it points to, so that it can be refused; readable, so that
    // a line cut off at the end can be seen.
    HANDLE file = CreateFileW(path.c_str(),
                              FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES |
                                  FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = systemReason(GetLastError());
        return FileOpening::Failed;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    FileOpening opening = FileOpening::Opened;
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        opening = FileOpening::SymbolicLink;
    else if (!known || GetFileType(file) != FILE_TYPE_DISK ||
             (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        opening = FileOpening::NotRegularFile;
    if (opening != FileOpening::Opened) {
        CloseHandle(file);
        return opening;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    identity_[0] = info.dwVolumeSerialNumber;
    identity_[1] = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    checkEnd_ = true;
    return FileOpening::Opened;
}

bool RecordFile::endsInsideALine() const {
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart == 0)
        return false;
    const std::uint64_t at = static_cast<std::uint64_t>(size.QuadPart) - 1;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    char last = '\n';
    DWORD read = 0;
    return ReadFile(file, &last, 1, &read, &where) && read == 1 && last != '\n';
}

// The byte locked while appending: no record file grows to it.
constexpr DWORD kAppendLockHigh = 0x40000000;

bool RecordFile::append(const std::string& line, bool toDisk) {
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED lockAt{};
    lockAt.OffsetHigh = kAppendLockHigh;
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockAt) != 0;
    const std::string whole = checkEnd_ && endsInsideALine() ? "\n" + line : line;
    checkEnd_ = false;
    DWORD written = 0;
    // A record cut short is worse than none: it counts as not written.
    DWORD error = ERROR_SUCCESS;
    if (!WriteFile(file, whole.data(), static_cast<DWORD>(whole.size()), &written, nullptr))
        error = GetLastError();
    else if (written != whole.size())
        error = ERROR_DISK_FULL;
    else if (toDisk && !FlushFileBuffers(file))
        error = GetLastError();
    if (locked)
        UnlockFileEx(file, 0, 1, 0, &lockAt);
    if (error == ERROR_SUCCESS)
        return true;
    lastError_ = systemReason(error);
    checkEnd_ = true;
    return false;
}

std::FILE* openRecordForReading(const std::wstring& path, std::wstring& reason) {
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        reason = systemReason(GetLastError());
    return file;
}
