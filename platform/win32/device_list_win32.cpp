// The device list on Windows: SetupAPI's interfaces of the HID class.
#include "platform/platform.h"
#include "platform/win32/hid_class.h"
#include "platform/win32/hid_interfaces.h"
#include "platform/win32/system_library.h"

#include <setupapi.h>

#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

using GetClassDevsFn = HDEVINFO(__stdcall*)(const GUID*, const wchar_t*, HWND, DWORD);
using EnumInterfacesFn = BOOL(__stdcall*)(HDEVINFO, SP_DEVINFO_DATA*, const GUID*, DWORD,
                                          SP_DEVICE_INTERFACE_DATA*);
using GetInterfaceDetailFn = BOOL(__stdcall*)(HDEVINFO, SP_DEVICE_INTERFACE_DATA*,
                                              SP_DEVICE_INTERFACE_DETAIL_DATA_W*, DWORD, DWORD*,
                                              SP_DEVINFO_DATA*);
using DestroyListFn = BOOL(__stdcall*)(HDEVINFO);

// The functions this file needs, each resolved once.
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

} // namespace

bool forEachHidInterface(const std::function<bool(const wchar_t* path, DWORD node)>& each) {
    const SetupApiFunctions& api = setupApi();
    if (!api.getClassDevs || !api.enumInterfaces || !api.getDetail || !api.destroyList)
        return false;
    GUID hidGuid = hidInterfaceClass();
    HDEVINFO list =
        api.getClassDevs(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (DWORD index = 0; api.enumInterfaces(list, nullptr, &hidGuid, index, &interfaceData);
         ++index) {
        DWORD required = 0;
        api.getDetail(list, &interfaceData, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;
        // DWORD-aligned storage for the variable-length detail record.
        std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!api.getDetail(list, &interfaceData, detail, required, nullptr, &device))
            continue;
        if (each(detail->DevicePath, device.DevInst))
            break;
    }
    api.destroyList(list);
    return true;
}

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    paths.clear();
    return forEachHidInterface([&](const wchar_t* path, DWORD) {
        paths.emplace_back(path);
        return false;
    });
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

// A device plugged in again at one socket gets the same instance and interface path; only
// its device notifications would tell the two apart.
std::wstring platformInstanceOf(const std::wstring&) {
    return {};
}
