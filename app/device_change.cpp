#include "app/main_dialog.h"

#include <dbt.h>

// WM_DEVICECHANGE: arrivals and removals of HID interfaces go to the session.
LRESULT Win32Window::onDeviceChange(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return 0;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return 1; // a volume, a port: not a HID interface
    if (event == DBT_DEVICEARRIVAL) {
        session_.deviceChanged(DeviceChange::Arrival, {});
    } else {
        const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
        session_.deviceChanged(DeviceChange::Removal, iface->dbcc_name);
    }
    return 1;
}
