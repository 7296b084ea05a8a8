// The station record on Windows: a write at the offset 0xFFFFFFFF'FFFFFFFF lands whole at the
// end, whoever else appends, as with FILE_APPEND_DATA alone; FlushFileBuffers, which needs
// GENERIC_WRITE, puts it on the disk.
#include "terminal/record_file.h"

#include <windows.h>

RecordFile::~RecordFile() {
    if (isOpen())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool RecordFile::open(const std::wstring& path, std::wstring& reason) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        wchar_t text[512] = {};
        const DWORD error = GetLastError();
        if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, 512, nullptr) == 0)
            swprintf(text, 512, L"error %lu", static_cast<unsigned long>(error));
        reason = text;
        while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                                   reason.back() == L'.'))
            reason.pop_back();
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool RecordFile::append(const std::string& line, bool toDisk) {
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    DWORD written = 0;
    OVERLAPPED atTheEnd{};
    atTheEnd.Offset = atTheEnd.OffsetHigh = 0xFFFFFFFF;
    // A record cut short is worse than none: it counts as not written.
    return WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, &atTheEnd) &&
           written == line.size() && (!toDisk || FlushFileBuffers(file));
}
