// The platform's HID functions on Linux: libudev for the list of hidraw nodes, hidraw
// ioctls for the IDs and the report descriptor, non-blocking reads and writes bounded by
// poll() for the reports.
#include "platform/linux/device_path.h"
#include "platform/linux/report_descriptor.h"
#include "platform/platform.h"
#include "platform/port_name.h"

#include <libudev.h>
#include <linux/hidraw.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <cstdio>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

namespace {

int toFd(DeviceHandle device) {
    return static_cast<int>(device);
}

std::int64_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Waits until the node is ready for `events` or the deadline passes; false with ETIMEDOUT
// on the deadline, or with the error of poll().
bool awaitReady(int fd, short events, std::int64_t deadline) {
    for (;;) {
        const std::int64_t left = deadline - nowMs();
        if (left <= 0) {
            errno = ETIMEDOUT;
            return false;
        }
        pollfd watched{fd, events, 0};
        const int ready = poll(&watched, 1, static_cast<int>(left));
        if (ready > 0)
            return true; // readiness, hang-up or error: the next transfer tells which
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

void drainInput(int fd) {
    std::uint8_t scratch[HID_MAX_DESCRIPTOR_SIZE];
    while (read(fd, scratch, sizeof scratch) > 0) {
    }
}

// One whole report. A unit that vanished (ENODEV, EIO, end of file) fails at once; one
// that neither takes nor answers fails on the deadline, its queued input dropped.
bool transfer(DeviceHandle device, bool write, std::uint8_t* report, std::size_t length,
              std::uint32_t timeoutMs) {
    const int fd = toFd(device);
    const std::int64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        const ssize_t done = write ? ::write(fd, report, length) : ::read(fd, report, length);
        if (done > 0 && write && static_cast<std::size_t>(done) != length) {
            errno = EIO; // hidraw takes a report whole or not at all
            return false;
        }
        if (done > 0) {
            // A short input report is padded, as Windows delivers it at the declared length.
            std::memset(report + done, 0, length - static_cast<std::size_t>(done));
            return true;
        }
        if (done == 0) {
            errno = ENODEV;
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return false;
        if (!awaitReady(fd, write ? POLLOUT : POLLIN, deadline)) {
            if (errno == ETIMEDOUT)
                platformFlushInput(device);
            return false;
        }
    }
}

} // namespace

namespace {

// Calls `each` with every hidraw device udev knows, in enumeration order, until it returns
// true; false when udev's list is unavailable.
template <typename Each> bool forEachHidraw(Each each) {
    udev* context = udev_new();
    if (context == nullptr)
        return false;
    udev_enumerate* enumeration = udev_enumerate_new(context);
    const bool listed = enumeration != nullptr &&
                        udev_enumerate_add_match_subsystem(enumeration, "hidraw") >= 0 &&
                        udev_enumerate_scan_devices(enumeration) >= 0;
    if (listed) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration)) {
            udev_device* device =
                udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (device == nullptr)
                continue;
            const bool done = each(device);
            udev_device_unref(device);
            if (done)
                break;
        }
    }
    if (enumeration != nullptr)
        udev_enumerate_unref(enumeration);
    udev_unref(context);
    return listed;
}

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    paths.clear();
    return forEachHidraw([&](udev_device* device) {
        if (const char* node = udev_device_get_devnode(device))
            paths.push_back(widePath(node));
        return false;
    });
}

bool platformSamePath(const std::wstring& a, const std::wstring& b) {
    return a == b;
}

bool platformPeekIds(const std::wstring& path, std::uint16_t& vendorId, std::uint16_t& productId) {
    const int error = errno;
    const std::string node = narrowPath(path);
    bool known = false;
    forEachHidraw([&](udev_device* device) {
        const char* devnode = udev_device_get_devnode(device);
        if (devnode == nullptr || node != devnode)
            return false;
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
        const char* id = hid != nullptr ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
        unsigned bus = 0, vendor = 0, product = 0;
        // "0003:00001F4B:00000002": bus, vendor, product.
        if (id != nullptr && std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) == 3) {
            vendorId = static_cast<std::uint16_t>(vendor);
            productId = static_cast<std::uint16_t>(product);
            known = true;
        }
        return true;
    });
    errno = error;
    return known;
}

namespace {

// The name in sysfs of the device above the node `path` in `subsystem` (of `devtype`);
// empty when there is none. Keeps errno.
std::wstring nameAbove(const std::wstring& path, const char* subsystem, const char* devtype) {
    const int error = errno;
    const std::string node = narrowPath(path);
    std::wstring above;
    forEachHidraw([&](udev_device* device) {
        const char* devnode = udev_device_get_devnode(device);
        if (devnode == nullptr || node != devnode)
            return false;
        udev_device* parent = udev_device_get_parent_with_subsystem_devtype(device, subsystem, devtype);
        if (const char* name = parent != nullptr ? udev_device_get_sysname(parent) : nullptr)
            above = widePath(name);
        return true;
    });
    errno = error;
    return above;
}

} // namespace

std::wstring platformPortOf(const std::wstring& path) {
    // The USB device above the node: its name in sysfs is its port path.
    const std::wstring port = nameAbove(path, "usb", "usb_device");
    return isPortPath(port) ? port : std::wstring(); // a root hub ("usb1") is no socket
}

std::wstring platformInstanceOf(const std::wstring& path) {
    return nameAbove(path, "hid", nullptr);
}

bool platformIsPortName(const std::wstring& port) {
    return isPortPath(port);
}

DeviceHandle platformOpenDevice(const std::wstring& path) {
    const int fd = open(narrowPath(path).c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return kNoDevice;
    // Advisory, so that it binds only the programs that ask for it; released with the
    // descriptor, also when a program dies.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        errno = EBUSY;
        return kNoDevice;
    }
    return fd;
}

std::uint32_t platformInUseError() {
    return EBUSY;
}

bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId) {
    hidraw_devinfo info{};
    if (ioctl(toFd(device), HIDIOCGRAWINFO, &info) < 0)
        return false;
    vendorId = static_cast<std::uint16_t>(info.vendor);
    productId = static_cast<std::uint16_t>(info.product);
    return true;
}

bool platformGetReportLengths(DeviceHandle device, std::uint32_t& outputLength,
                              std::uint32_t& inputLength) {
    int size = 0;
    if (ioctl(toFd(device), HIDIOCGRDESCSIZE, &size) < 0)
        return false;
    if (size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE) {
        errno = EINVAL;
        return false;
    }
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<__u32>(size);
    if (ioctl(toFd(device), HIDIOCGRDESC, &descriptor) < 0)
        return false;
    if (!reportLengthsFromDescriptor(descriptor.value, descriptor.size, outputLength,
                                     inputLength)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

void platformFlushInput(DeviceHandle device) {
    const int error = errno;
    drainInput(toFd(device));
    errno = error;
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
    const int error = errno;
    close(toFd(device));
    errno = error;
}

std::uint32_t platformLastError() {
    return static_cast<std::uint32_t>(errno);
}

// A read returns as its report arrives.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle, std::uint32_t ms) {
    return platformDeadline(ms);
}

void platformSetLastError(std::uint32_t error) {
    errno = static_cast<int>(error);
}
