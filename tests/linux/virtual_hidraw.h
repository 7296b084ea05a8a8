// Virtual hidraw nodes under umockdev, for tests of the Linux seam: libudev, /sys and
// /dev of this process see the testbed, and each node's ioctls, writes and reads are
// answered here, a unit's by the simulated unit's protocol. Needs the process to run with
// libumockdev-preload.so.0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct VirtualHidraw {
    int number; // hidrawN
    std::uint16_t vendorId, productId;
    std::vector<std::uint8_t> descriptor;
    int simDevice = -1;  // the simulated unit behind it; -1: writes fail
    bool hasNode = true; // false: udev lists it but there is no node to open
    std::string port;    // the USB device's port path above it; empty: 1-(number + 1)
    // A program that polls the node before it reads (a browser) is told of each answer by
    // the node becoming readable; the answer is taken from the unit as the request goes.
    bool pollable = false;
};

// Bytes as lowercase hex digits, as a sysfs attribute and a transcript carry them.
std::string hexBytes(const std::vector<std::uint8_t>& bytes);

void virtualHidrawStart();
void virtualHidrawStop();
// Adds the device to the testbed, which announces its arrival; returns the node's path.
std::string virtualHidrawAdd(const VirtualHidraw& device);
// Announces the device's removal and takes it out of the testbed.
void virtualHidrawRemove(int number);
