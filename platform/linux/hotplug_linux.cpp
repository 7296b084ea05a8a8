// Arrivals and removals of hidraw nodes, from udev's netlink monitor.
#include "platform/linux/device_path.h"
#include "platform/platform.h"

#include <libudev.h>

#include <cerrno>
#include <cstring>

struct HotPlugWatch {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
};

HotPlugWatch* platformWatchHotPlug(void*) {
    auto* watch = new HotPlugWatch;
    watch->context = udev_new();
    if (watch->context != nullptr)
        watch->monitor = udev_monitor_new_from_netlink(watch->context, "udev");
    if (watch->monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(watch->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(watch->monitor) < 0) {
        const int error = errno != 0 ? errno : ENODEV;
        platformStopHotPlug(watch);
        errno = error;
        return nullptr;
    }
    return watch;
}

int platformHotPlugDescriptor(const HotPlugWatch* watch) {
    return watch != nullptr ? udev_monitor_get_fd(watch->monitor) : -1;
}

bool platformNextHotPlug(HotPlugWatch* watch, HotPlugEvent& event) {
    if (watch == nullptr)
        return false;
    // The monitor's socket does not block: no device means nothing waits.
    while (udev_device* device = udev_monitor_receive_device(watch->monitor)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        bool known = action != nullptr && node != nullptr;
        if (known && std::strcmp(action, "add") == 0)
            event.arrival = true;
        else if (known && std::strcmp(action, "remove") == 0)
            event.arrival = false;
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

void platformStopHotPlug(HotPlugWatch* watch) {
    if (watch == nullptr)
        return;
    const int error = errno;
    if (watch->monitor != nullptr)
        udev_monitor_unref(watch->monitor);
    if (watch->context != nullptr)
        udev_unref(watch->context);
    delete watch;
    errno = error;
}
