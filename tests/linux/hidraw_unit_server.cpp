// A programming unit behind a virtual hidraw node, for the page's tests through the
// browser's own WebHID: the simulated unit in real time, its node polled as a browser
// polls it. Prints UMOCKDEV_DIR=<testbed>, which a browser started with umockdev's preload
// and that variable sees, then takes one command a line and answers each with a line:
//   add ready|wrong-mode|no-updatable-esc|incompatible   a DOCK-BOX is plugged in
//   remove       it is pulled
//   fault erase-error | read-fails-block N | unplug-block N
//   written      the requests from the lock on, in hex, then whether the flash is the image
//   quit
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "tests/linux/unit_descriptor.h"
#include "tests/linux/virtual_hidraw.h"
#include "unitlink/unit_connection.h"

#include <umockdev.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

SimUnitConfig configFor(const std::string& outcome) {
    SimUnitConfig config;
    config.port = L"1-1";
    if (outcome == "wrong-mode")
        config.unitInBootloader = true;
    else if (outcome == "no-updatable-esc")
        config.escState = 2;
    else if (outcome == "incompatible")
        config.typeCode = 0x12345678;
    return config;
}

std::string written(int unit) {
    std::string line;
    bool locked = false;
    for (const SimExchange& e : simTranscript()) {
        locked = locked || (e.device == unit && e.request[1] == SYSTEM_LOCK && e.request[3] == 1);
        if (locked && e.device == unit)
            line += (line.empty() ? "" : " ") + hexBytes(e.request);
    }
    const std::vector<std::uint8_t>& flash = simFlash(unit);
    const std::vector<std::uint8_t> image = standInImage();
    const bool whole = flash.size() >= image.size() &&
                       std::equal(image.begin(), image.end(), flash.begin());
    return line + "\n" + (whole ? "flash is the image" : "flash differs");
}

} // namespace

int main() {
    simReset();
    simSetRealTime(true);
    simSetFirmwareImage(standInImage());
    virtualHidrawStart();
    std::cout << "UMOCKDEV_DIR=" << g_getenv("UMOCKDEV_DIR") << std::endl;

    int unit = -1;
    int node = -1; // hidrawN: each unit plugged in gets a node of its own
    std::atomic<bool> plugged{false}, ending{false};
    // A unit the simulation pulled leaves the testbed too, as the kernel would announce.
    std::thread follower([&] {
        while (!ending) {
            if (plugged && !simUnitPresent(unit)) {
                plugged = false;
                virtualHidrawRemove(node);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string command, what;
        int n = 0;
        words >> command >> what >> n;
        if (command == "add") {
            const std::string path = "/dev/hidraw" + std::to_string(++node);
            unit = simAddUnit(std::wstring(path.begin(), path.end()), configFor(what));
            virtualHidrawAdd({node, kUnitVendorId, kProductDockBox, kUnitDescriptor, unit, true, "1-1", true});
            plugged = true;
            std::cout << "ok" << std::endl;
        } else if (command == "remove") {
            simRemoveDevice(unit);
            while (plugged)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::cout << "ok" << std::endl;
        } else if (command == "fault") {
            if (what == "erase-error")
                simAddFault(unit, {SimFaultKind::StatusError, ERASE, 1, 7});
            else if (what == "read-fails-block")
                simAddFault(unit, {SimFaultKind::ReadFails, WRITE_BLOCK, n});
            else if (what == "unplug-block")
                simAddFault(unit, {SimFaultKind::Unplug, WRITE_BLOCK, n});
            std::cout << "ok" << std::endl;
        } else if (command == "written") {
            std::cout << written(unit) << std::endl;
        } else if (command == "quit") {
            break;
        } else {
            std::cout << "unknown command" << std::endl;
        }
    }
    ending = true;
    follower.join();
    virtualHidrawStop();
    return 0;
}
