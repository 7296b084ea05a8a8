// A unit opened, talked to and closed on Windows: hid.dll for attributes and capabilities,
// overlapped file I/O with a time-out for the reports, a named mutex that keeps other
// programs off it. The device list is device_list_win32.cpp's, the socket port_win32.cpp's.
#include "platform/platform.h"
#include "platform/win32/system_library.h"

#include <windows.h>
#include <hidsdi.h>
#include <hidpi.h>

#include <cwchar>
#include <cwctype>

namespace {

constexpr NTSTATUS kHidpStatusSuccess = 0x00110000;

using GetAttributesFn = BOOLEAN(__stdcall*)(HANDLE, HIDD_ATTRIBUTES*);
using GetPreparsedDataFn = BOOLEAN(__stdcall*)(HANDLE, PHIDP_PREPARSED_DATA*);
using FreePreparsedDataFn = BOOLEAN(__stdcall*)(PHIDP_PREPARSED_DATA);
using GetCapsFn = NTSTATUS(__stdcall*)(PHIDP_PREPARSED_DATA, HIDP_CAPS*);
using FlushQueueFn = BOOLEAN(__stdcall*)(HANDLE);

// The functions this file needs, each resolved once.
struct HidFunctions {
    GetAttributesFn getAttributes;
    GetPreparsedDataFn getPreparsed;
    FreePreparsedDataFn freePreparsed;
    GetCapsFn getCaps;
    FlushQueueFn flushQueue;
};

const HidFunctions& hid() {
    static const HidFunctions functions{
        systemFunction<GetAttributesFn>(L"hid.dll", "HidD_GetAttributes"),
        systemFunction<GetPreparsedDataFn>(L"hid.dll", "HidD_GetPreparsedData"),
        systemFunction<FreePreparsedDataFn>(L"hid.dll", "HidD_FreePreparsedData"),
        systemFunction<GetCapsFn>(L"hid.dll", "HidP_GetCaps"),
        systemFunction<FlushQueueFn>(L"hid.dll", "HidD_FlushQueue")};
    return functions;
}

// What an open unit holds: its file and the named mutex that keeps other programs off it.
// A DeviceHandle points to one, so that what belongs to a handle goes with it.
struct OpenUnit {
    HANDLE file;
    HANDLE lock;
};

OpenUnit& openUnit(DeviceHandle device) {
    return *reinterpret_cast<OpenUnit*>(device);
}

HANDLE toHandle(DeviceHandle device) {
    return openUnit(device).file;
}

// Failure leaves the error of the failing call, or ERROR_TIMEOUT.
bool transfer(DeviceHandle device, bool write, std::uint8_t* report, std::size_t length,
              std::uint32_t timeoutMs) {
    HANDLE file = toHandle(device);
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr)
        return false;
    const DWORD size = static_cast<DWORD>(length);
    BOOL started = write ? WriteFile(file, report, size, nullptr, &overlapped)
                         : ReadFile(file, report, size, nullptr, &overlapped);
    DWORD error = started ? ERROR_SUCCESS : GetLastError();
    bool timedOut = false;
    if (!started && error == ERROR_IO_PENDING) {
        error = ERROR_SUCCESS;
        if (WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0) {
            // The buffer stays in use until the cancelled request has finished.
            CancelIoEx(file, &overlapped);
            timedOut = true;
        }
    }
    DWORD done = 0;
    if (error == ERROR_SUCCESS && !GetOverlappedResult(file, &overlapped, &done, TRUE))
        error = timedOut ? ERROR_TIMEOUT : GetLastError();
    CloseHandle(overlapped.hEvent);
    if (error == ERROR_SUCCESS && done != size)
        error = ERROR_INVALID_DATA;
    if (error == ERROR_TIMEOUT)
        platformFlushInput(device);
    SetLastError(error);
    return error == ERROR_SUCCESS;
}


// One name per interface path in every session: its letters folded, hashed (FNV-1a),
// since a mutex name may not hold the path's backslashes.
std::wstring unitLockName(const std::wstring& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        hash ^= static_cast<std::uint64_t>(towlower(c));
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Global\\orca-75-lx-updater-%016llx",
             static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

DeviceHandle platformOpenDevice(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kNoDevice;
    HANDLE lock = CreateMutexW(nullptr, FALSE, unitLockName(path).c_str());
    if (lock == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (lock != nullptr)
            CloseHandle(lock);
        CloseHandle(file);
        SetLastError(ERROR_BUSY);
        return kNoDevice;
    }
    return reinterpret_cast<DeviceHandle>(new OpenUnit{file, lock});
}

std::uint32_t platformInUseError() {
    return ERROR_BUSY;
}

bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId) {
    auto getAttributes = hid().getAttributes;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!getAttributes || !getAttributes(toHandle(device), &attributes))
        return false;
    vendorId = attributes.VendorID;
    productId = attributes.ProductID;
    return true;
}

bool platformGetReportLengths(DeviceHandle device, std::uint32_t& outputLength,
                              std::uint32_t& inputLength) {
    auto getPreparsed = hid().getPreparsed;
    auto freePreparsed = hid().freePreparsed;
    auto getCaps = hid().getCaps;
    if (!getPreparsed || !freePreparsed || !getCaps)
        return false;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!getPreparsed(toHandle(device), &preparsed))
        return false;
    HIDP_CAPS caps{};
    NTSTATUS status = getCaps(preparsed, &caps);
    freePreparsed(preparsed);
    if (status != kHidpStatusSuccess) {
        SetLastError(ERROR_INVALID_DATA); // HidP_GetCaps reports by status, not last error
        return false;
    }
    outputLength = caps.OutputReportByteLength;
    inputLength = caps.InputReportByteLength;
    return true;
}

void platformFlushInput(DeviceHandle device) {
    DWORD error = GetLastError();
    if (auto flush = hid().flushQueue)
        flush(toHandle(device));
    SetLastError(error);
}

bool platformWriteReport(DeviceHandle device, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs) {
    return transfer(device, true, const_cast<std::uint8_t*>(report), length, timeoutMs);
}

bool platformReadReport(DeviceHandle device, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs) {
    return transfer(device, false, report, length, timeoutMs);
}

void platformCloseDevice(DeviceHandle device) {
    const DWORD error = GetLastError();
    const OpenUnit* unit = &openUnit(device);
    CloseHandle(unit->file);
    CloseHandle(unit->lock);
    delete unit;
    SetLastError(error);
}

std::uint32_t platformLastError() {
    return GetLastError();
}

// A read returns as its report arrives.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle, std::uint32_t ms) {
    return platformDeadline(ms);
}

void platformSetLastError(std::uint32_t error) {
    SetLastError(error);
}
