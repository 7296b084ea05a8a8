// Arrivals and removals of HID interfaces as WM_DEVICECHANGE messages to a window.
#include "platform/platform.h"
#include "platform/win32/hid_class.h"

#include <windows.h>

#include <dbt.h>

struct HotPlugWatch {
    HDEVNOTIFY registration;
};

HotPlugWatch* platformWatchHotPlug(void* window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = hidInterfaceClass();
    HDEVNOTIFY registration = RegisterDeviceNotificationW(static_cast<HWND>(window), &filter,
                                                          DEVICE_NOTIFY_WINDOW_HANDLE);
    return registration != nullptr ? new HotPlugWatch{registration} : nullptr;
}

int platformHotPlugDescriptor(const HotPlugWatch*) {
    return -1;
}

bool platformNextHotPlug(HotPlugWatch*, HotPlugEvent&) {
    return false;
}

void platformStopHotPlug(HotPlugWatch* watch) {
    if (watch == nullptr)
        return;
    const DWORD error = GetLastError();
    UnregisterDeviceNotification(watch->registration);
    delete watch;
    SetLastError(error);
}
