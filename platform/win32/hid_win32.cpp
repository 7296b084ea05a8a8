// The platform's HID functions on Windows: SetupAPI for the interface list, hid.dll for
// attributes and capabilities, overlapped file I/O with a time-out for the reports.
#include "platform/platform.h"
#include "platform/port_name.h"
#include "platform/win32/hid_class.h"
#include "platform/win32/system_library.h"

#include <windows.h>
#include <setupapi.h>
#include <hidsdi.h>
#include <hidpi.h>

#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

constexpr NTSTATUS kHidpStatusSuccess = 0x00110000;

using GetAttributesFn = BOOLEAN(__stdcall*)(HANDLE, HIDD_ATTRIBUTES*);
using GetPreparsedDataFn = BOOLEAN(__stdcall*)(HANDLE, PHIDP_PREPARSED_DATA*);
using FreePreparsedDataFn = BOOLEAN(__stdcall*)(PHIDP_PREPARSED_DATA);
using GetCapsFn = NTSTATUS(__stdcall*)(PHIDP_PREPARSED_DATA, HIDP_CAPS*);
using FlushQueueFn = BOOLEAN(__stdcall*)(HANDLE);
using GetClassDevsFn = HDEVINFO(__stdcall*)(const GUID*, const wchar_t*, HWND, DWORD);
using EnumInterfacesFn = BOOL(__stdcall*)(HDEVINFO, SP_DEVINFO_DATA*, const GUID*, DWORD,
                                          SP_DEVICE_INTERFACE_DATA*);
using GetInterfaceDetailFn = BOOL(__stdcall*)(HDEVINFO, SP_DEVICE_INTERFACE_DATA*,
                                              SP_DEVICE_INTERFACE_DETAIL_DATA_W*, DWORD, DWORD*,
                                              SP_DEVINFO_DATA*);
using DestroyListFn = BOOL(__stdcall*)(HDEVINFO);
using GetParentFn = DWORD(__stdcall*)(DWORD*, DWORD, ULONG);
using GetNodePropertyFn = DWORD(__stdcall*)(DWORD, ULONG, ULONG*, void*, ULONG*, ULONG);
constexpr ULONG kCmDrpLocationPaths = 0x00000024; // CM_DRP_LOCATION_PATHS
constexpr DWORD kCrSuccess = 0;

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

struct SetupApiFunctions {
    GetClassDevsFn getClassDevs;
    EnumInterfacesFn enumInterfaces;
    GetInterfaceDetailFn getDetail;
    DestroyListFn destroyList;
};

const SetupApiFunctions& setupApi() {
    static const SetupApiFunctions functions{
        systemFunction<GetClassDevsFn>(L"setupapi.dll", "SetupDiGetClassDevsW"),
        systemFunction<EnumInterfacesFn>(L"setupapi.dll", "SetupDiEnumDeviceInterfaces"),
        systemFunction<GetInterfaceDetailFn>(L"setupapi.dll", "SetupDiGetDeviceInterfaceDetailW"),
        systemFunction<DestroyListFn>(L"setupapi.dll", "SetupDiDestroyDeviceInfoList")};
    return functions;
}

// The configuration manager's functions for a device's parents and location.
struct ConfigManagerFunctions {
    GetParentFn getParent;
    GetNodePropertyFn getProperty;
};

const ConfigManagerFunctions& configManager() {
    static const ConfigManagerFunctions functions{
        systemFunction<GetParentFn>(L"cfgmgr32.dll", "CM_Get_Parent"),
        systemFunction<GetNodePropertyFn>(L"cfgmgr32.dll", "CM_Get_DevNode_Registry_PropertyW")};
    return functions;
}

// The port of the first device from `node` up that has a USB location path.
std::wstring portAbove(DWORD node) {
    const ConfigManagerFunctions& cm = configManager();
    if (!cm.getParent || !cm.getProperty)
        return {};
    for (int depth = 0; depth < 8; ++depth) {
        wchar_t paths[1024] = {};
        ULONG size = sizeof paths - sizeof(wchar_t); // a multi-string, kept terminated
        ULONG type = 0;
        if (cm.getProperty(node, kCmDrpLocationPaths, &type, paths, &size, 0) == kCrSuccess) {
            const std::wstring port = portOfLocationPath(paths); // the first of the paths
            if (!port.empty())
                return port;
        }
        DWORD parent = 0;
        if (cm.getParent(&parent, node, 0) != kCrSuccess)
            return {};
        node = parent;
    }
    return {};
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

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    paths.clear();
    const SetupApiFunctions& api = setupApi();
    auto getClassDevs = api.getClassDevs;
    auto enumInterfaces = api.enumInterfaces;
    auto getDetail = api.getDetail;
    auto destroyList = api.destroyList;
    if (!getClassDevs || !enumInterfaces || !getDetail || !destroyList)
        return false;

    GUID hidGuid = hidInterfaceClass();
    HDEVINFO list = getClassDevs(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE)
        return false;

    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (DWORD index = 0; enumInterfaces(list, nullptr, &hidGuid, index, &interfaceData); ++index) {
        DWORD required = 0;
        getDetail(list, &interfaceData, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;
        // DWORD-aligned storage for the variable-length detail record.
        std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!getDetail(list, &interfaceData, detail, required, nullptr, nullptr))
            continue;
        paths.emplace_back(detail->DevicePath);
    }
    destroyList(list);
    return true;
}

bool platformSamePath(const std::wstring& a, const std::wstring& b) {
    auto lower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool platformPeekIds(const std::wstring& path, std::uint16_t& vendorId, std::uint16_t& productId) {
    // Interface paths name their IDs: "\\?\hid#vid_1f4b&pid_0002#...".
    std::wstring lower = path;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(towlower(c));
    const std::size_t vid = lower.find(L"vid_");
    const std::size_t pid = lower.find(L"pid_");
    if (vid == std::wstring::npos || pid == std::wstring::npos)
        return false;
    unsigned vendor = 0, product = 0;
    if (swscanf(lower.c_str() + vid + 4, L"%4x", &vendor) != 1 ||
        swscanf(lower.c_str() + pid + 4, L"%4x", &product) != 1)
        return false;
    vendorId = static_cast<std::uint16_t>(vendor);
    productId = static_cast<std::uint16_t>(product);
    return true;
}

namespace {

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

// A device plugged in again at one socket gets the same instance and interface path; only
// its device notifications would tell the two apart.
std::wstring platformInstanceOf(const std::wstring&) {
    return {};
}

std::wstring platformPortOf(const std::wstring& path) {
    const DWORD error = GetLastError();
    const SetupApiFunctions& api = setupApi();
    std::wstring port;
    GUID hidGuid = hidInterfaceClass();
    HDEVINFO list = api.getClassDevs && api.enumInterfaces && api.getDetail && api.destroyList
                        ? api.getClassDevs(&hidGuid, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)
                        : INVALID_HANDLE_VALUE;
    if (list != INVALID_HANDLE_VALUE) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        for (DWORD index = 0; api.enumInterfaces(list, nullptr, &hidGuid, index, &interfaceData);
             ++index) {
            DWORD required = 0;
            api.getDetail(list, &interfaceData, nullptr, 0, &required, nullptr);
            if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
                continue;
            std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            SP_DEVINFO_DATA device{};
            device.cbSize = sizeof device;
            if (!api.getDetail(list, &interfaceData, detail, required, nullptr, &device) ||
                !platformSamePath(detail->DevicePath, path))
                continue;
            port = portAbove(device.DevInst);
            break;
        }
        api.destroyList(list);
    }
    SetLastError(error);
    return port;
}

bool platformIsPortName(const std::wstring& port) {
    return isPortPath(port);
}

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
