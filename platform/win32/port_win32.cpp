// The USB socket of a HID interface on Windows: the location path of the first device above
// it that has one, from the configuration manager.
#include "platform/platform.h"
#include "platform/port_name.h"
#include "platform/win32/hid_interfaces.h"
#include "platform/win32/system_library.h"

namespace {

using GetParentFn = DWORD(__stdcall*)(DWORD*, DWORD, ULONG);
using GetNodePropertyFn = DWORD(__stdcall*)(DWORD, ULONG, ULONG*, void*, ULONG*, ULONG);
constexpr ULONG kCmDrpLocationPaths = 0x00000024; // CM_DRP_LOCATION_PATHS
constexpr DWORD kCrSuccess = 0;

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

} // namespace

std::wstring platformPortOf(const std::wstring& path) {
    const DWORD error = GetLastError();
    std::wstring port;
    forEachHidInterface([&](const wchar_t* each, DWORD node) {
        if (!platformSamePath(each, path))
            return false;
        port = portAbove(node);
        return true;
    });
    SetLastError(error);
    return port;
}

bool platformIsPortName(const std::wstring& port) {
    return isPortPath(port);
}
