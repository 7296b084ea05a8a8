#include "tests/linux/virtual_hidraw.h"

#include "sim/sim_unit.h"

#include <umockdev.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

UMockdevTestbed* testbed = nullptr;
std::map<int, std::unique_ptr<VirtualHidraw>> devices;
std::map<int, UMockdevIoctlBase*> handlers;
std::vector<std::string> usbDevices; // the USB devices in the testbed, by port path

// A pollable node's answers, taken as their requests went: each readable once its byte is
// on the node's terminal, whose other end this process holds to take the byte back.
struct Answers {
    std::deque<std::vector<std::uint8_t>> ready; // empty: the read failed
    int master = -1, slave = -1;
};
std::map<int, Answers> answers;

std::string portOf(const VirtualHidraw& d) {
    return d.port.empty() ? "1-" + std::to_string(d.number + 1) : d.port;
}

std::string usbDevicePath(const VirtualHidraw& d) {
    return "/devices/usb1/" + portOf(d);
}

std::string parentPath(const VirtualHidraw& d) {
    char name[128];
    std::snprintf(name, sizeof name, "/%s:1.0/0003:%04X:%04X.%04d", portOf(d).c_str(), d.vendorId,
                  d.productId, d.number + 1);
    return usbDevicePath(d) + name;
}

std::string nodeSysPath(const VirtualHidraw& d) {
    return "/sys" + parentPath(d) + "/hidraw/hidraw" + std::to_string(d.number);
}

// Fills the caller's buffer of `size` bytes.
void reply(UMockdevIoctlClient* client, const void* data, std::size_t size) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(arg, 0, size, nullptr);
    std::memcpy(buffer->data, data, size);
    umockdev_ioctl_client_complete(client, 0, 0);
}

gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    const auto& d = *static_cast<VirtualHidraw*>(user);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    if (request == HIDIOCGRAWINFO) {
        hidraw_devinfo info{BUS_USB, static_cast<__s16>(d.vendorId),
                            static_cast<__s16>(d.productId)};
        reply(client, &info, sizeof info);
    } else if (request == HIDIOCGRDESCSIZE) {
        int size = static_cast<int>(d.descriptor.size());
        reply(client, &size, sizeof size);
    } else if (request == HIDIOCGRDESC) {
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<__u32>(d.descriptor.size());
        std::memcpy(descriptor.value, d.descriptor.data(), d.descriptor.size());
        reply(client, &descriptor, sizeof descriptor);
    } else {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
    }
    return TRUE;
}

int errorOf(int simDevice) {
    return simDevice < 0 || !simUnitPresent(simDevice) ? ENODEV : EIO;
}

void takeAnswer(const VirtualHidraw& d) {
    Answers& queued = answers[d.number];
    std::vector<std::uint8_t> answer(simUnitConfig(d.simDevice).inputReportLength);
    const SimAnswerResult result = simUnitGiveAnswer(d.simDevice, answer.data(), answer.size());
    if (result == SimAnswerResult::NotReady)
        return; // never answered
    if (result == SimAnswerResult::Failed)
        answer.clear();
    queued.ready.push_back(std::move(answer));
    const char signal = 1;
    if (write(queued.master, &signal, 1) != 1)
        std::perror("virtual hidraw: signalling an answer");
}

gboolean onWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    const auto& d = *static_cast<VirtualHidraw*>(user);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const auto length = static_cast<std::size_t>(arg->data_len);
    if (d.simDevice < 0 || !simUnitTakeRequest(d.simDevice, arg->data, length)) {
        umockdev_ioctl_client_complete(client, -1, errorOf(d.simDevice));
        return TRUE;
    }
    if (d.pollable)
        takeAnswer(d);
    umockdev_ioctl_client_complete(client, static_cast<glong>(length), 0);
    return TRUE;
}

void readTaken(const VirtualHidraw& d, UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
    Answers& queued = answers[d.number];
    if (queued.ready.empty()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return;
    }
    char signal;
    if (read(queued.slave, &signal, 1) != 1)
        std::perror("virtual hidraw: taking an answer's signal");
    const std::vector<std::uint8_t> answer = std::move(queued.ready.front());
    queued.ready.pop_front();
    if (answer.empty()) {
        umockdev_ioctl_client_complete(client, -1, EIO);
        return;
    }
    const std::size_t length = std::min(answer.size(), static_cast<std::size_t>(arg->data_len));
    std::memcpy(arg->data, answer.data(), length);
    umockdev_ioctl_client_complete(client, static_cast<glong>(length), 0);
}

gboolean onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    const auto& d = *static_cast<VirtualHidraw*>(user);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    if (d.pollable) {
        readTaken(d, client, arg);
        return TRUE;
    }
    const auto length = static_cast<std::size_t>(arg->data_len);
    SimAnswerResult result = SimAnswerResult::Failed;
    if (d.simDevice >= 0)
        result = simUnitGiveAnswer(d.simDevice, arg->data, length);
    if (result == SimAnswerResult::Answered)
        umockdev_ioctl_client_complete(client, static_cast<glong>(length), 0);
    else if (result == SimAnswerResult::NotReady)
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
    else
        umockdev_ioctl_client_complete(client, -1, errorOf(d.simDevice));
    return TRUE;
}

} // namespace

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char two[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        text += two;
    }
    return text;
}

void virtualHidrawStart() {
    testbed = umockdev_testbed_new();
}

void virtualHidrawStop() {
    for (auto& entry : handlers) {
        umockdev_testbed_detach_ioctl(
            testbed, ("/dev/hidraw" + std::to_string(entry.first)).c_str(), nullptr);
        g_object_unref(entry.second);
    }
    handlers.clear();
    for (auto& entry : answers)
        if (entry.second.slave >= 0)
            close(entry.second.slave);
    answers.clear();
    devices.clear();
    usbDevices.clear();
    if (testbed != nullptr)
        g_object_unref(testbed);
    testbed = nullptr;
}

std::string virtualHidrawAdd(const VirtualHidraw& device) {
    auto owned = std::make_unique<VirtualHidraw>(device);
    VirtualHidraw* d = owned.get();
    devices[d->number] = std::move(owned);

    const std::string node = "/dev/hidraw" + std::to_string(d->number);
    char id[64];
    std::snprintf(id, sizeof id, "0003:%08X:%08X", d->vendorId, d->productId);
    // The USB device stays in sysfs when a unit is pulled, as the socket's hub keeps it.
    std::string usb;
    if (std::find(usbDevices.begin(), usbDevices.end(), portOf(*d)) == usbDevices.end()) {
        usbDevices.push_back(portOf(*d));
        usb = "\n\nP: " + usbDevicePath(*d) + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
    }
    std::string record = "P: " + parentPath(*d) + "/hidraw/hidraw" + std::to_string(d->number) +
                         "\n" + (d->hasNode ? "N: hidraw" + std::to_string(d->number) + "\n" : "") +
                         "E: DEVNAME=" + node + "\nE: SUBSYSTEM=hidraw\n\nP: " + parentPath(*d) +
                         "\nE: HID_ID=" + id + "\nE: SUBSYSTEM=hid\nH: report_descriptor=" +
                         hexBytes(d->descriptor) + "\n" + usb;
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, record.c_str(), &error))
        throw std::runtime_error(error->message);
    if (!d->hasNode)
        return node;

    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(onIoctl), d);
    g_signal_connect(handler, "handle-write", G_CALLBACK(onWrite), d);
    g_signal_connect(handler, "handle-read", G_CALLBACK(onRead), d);
    if (!umockdev_testbed_attach_ioctl(testbed, node.c_str(), handler, &error))
        throw std::runtime_error(error->message);
    handlers[d->number] = handler;
    if (d->pollable) {
        Answers& queued = answers[d->number];
        queued = Answers{};
        queued.master = umockdev_testbed_get_dev_fd(testbed, node.c_str());
        queued.slave = open(ptsname(queued.master), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios raw{};
        tcgetattr(queued.slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(queued.slave, TCSANOW, &raw);
    }
    return node;
}

void virtualHidrawRemove(int number) {
    // Taking a device out of the testbed announces nothing: the event goes first.
    const std::string node = nodeSysPath(*devices.at(number));
    umockdev_testbed_uevent(testbed, node.c_str(), "remove");
    umockdev_testbed_remove_device(testbed, node.c_str());
}
