#include "platform/linux/device_monitor.h"
#include "platform/linux/device_path.h"

#include <libudev.h>

#include <cstring>

namespace {

udev* context = nullptr;
udev_monitor* monitor = nullptr;

} // namespace

int deviceMonitorStart() {
    deviceMonitorStop();
    context = udev_new();
    if (context == nullptr)
        return -1;
    monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        deviceMonitorStop();
        return -1;
    }
    return udev_monitor_get_fd(monitor);
}

bool deviceMonitorNext(DeviceEvent& event) {
    if (monitor == nullptr)
        return false;
    // The monitor's socket does not block: no device means nothing waits.
    while (udev_device* device = udev_monitor_receive_device(monitor)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        bool known = action != nullptr && node != nullptr;
        if (known && std::strcmp(action, "add") == 0)
            event.kind = DeviceEventKind::Arrival;
        else if (known && std::strcmp(action, "remove") == 0)
            event.kind = DeviceEventKind::Removal;
        else
            known = false;
        if (known)
            event.path = widePath(node);
        udev_device_unref(device);
        if (known)
            return true;
    }
    return false;
}

void deviceMonitorStop() {
    if (monitor != nullptr)
        udev_monitor_unref(monitor);
    if (context != nullptr)
        udev_unref(context);
    monitor = nullptr;
    context = nullptr;
}
