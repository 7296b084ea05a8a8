#include "sim/sim_state.h"

#include "update/sha256.h"

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <thread>

SimBus simBus;
thread_local std::uint32_t simLastError = 0;

SimBus::~SimBus() {
    {
        std::lock_guard<std::mutex> guard(lock);
        ending = true;
    }
    demoWake.notify_all();
    for (std::thread& thread : demoThreads)
        thread.join();
}

void simRunDemoThread(std::function<void()> work) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.demoThreads.emplace_back(std::move(work));
}

bool simDemoPause(std::chrono::milliseconds span) {
    std::unique_lock<std::mutex> held(simBus.lock);
    return !simBus.demoWake.wait_for(held, span, [] { return simBus.ending; });
}

static std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();

std::uint64_t simClockNow() {
    if (!simBus.realTime)
        return simBus.virtualNow;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - realStart)
                                          .count());
}

std::uint64_t simClockNowUs() {
    if (!simBus.realTime)
        return simBus.virtualNow * 1000;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - realStart)
                                          .count());
}

void simClockPassUntilUs(std::uint64_t until, std::unique_lock<std::mutex>& held) {
    if (!simBus.realTime) {
        // The virtual clock counts whole milliseconds: never short of the moment.
        simBus.virtualNow = std::max(simBus.virtualNow, (until + 999) / 1000);
        return;
    }
    held.unlock();
    std::this_thread::sleep_until(realStart + std::chrono::microseconds(until));
    held.lock();
}

void simClockPass(std::uint64_t ms, std::unique_lock<std::mutex>& held) {
    if (!simBus.realTime) {
        simBus.virtualNow += ms;
        return;
    }
    held.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    held.lock();
}

void simReset() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.devices.clear();
    simBus.handles.clear();
    simBus.listAvailable = true;
    simBus.realTime = false;
    simBus.virtualNow = 0;
    simBus.transcript.clear();
    simBus.image.clear();
    simBus.imageSha256.clear();
    simBus.applicationBytes = 0;
    simLastError = 0;
}

void simSetRealTime(bool realTime) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.realTime = realTime;
    realStart = std::chrono::steady_clock::now();
}

std::uint64_t simNow() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simClockNow();
}

int simAddDevice(const std::wstring& path, std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice device;
    device.path = path;
    device.vendorId = vendorId;
    device.productId = productId;
    simBus.devices.push_back(std::move(device));
    return static_cast<int>(simBus.devices.size() - 1);
}

int simAddUnit(const std::wstring& path, const SimUnitConfig& config) {
    int index = simAddDevice(path, 0x1F4B, config.productId);
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice& device = simBus.devices[index];
    device.isUnit = true;
    device.config = config;
    device.controller.flash.assign(config.flashSize, 0xFF);
    return index;
}

int simAddDemoUnit(const std::wstring& path, const std::wstring& port) {
    SimUnitConfig orca;
    orca.port = port;
    orca.productId = 2;
    orca.escState = 3;
    orca.typeCode = 0x1422605A;
    orca.escFirmwareVersion = 0x0205;
    orca.bootloaderVersion = 0x00000105;
    return simAddUnit(path, orca);
}

std::wstring simDemoPathWindows(int unit) {
    return L"\\\\?\\hid#vid_1f4b&pid_0002#demo" + (unit > 0 ? std::to_wstring(unit) : L"") +
           L"#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

std::wstring simDemoPathLinux(int unit) {
    return L"/dev/hidraw" + std::to_wstring(unit);
}

void simStartDemo(std::wstring (*pathOf)(int unit), int units) {
    simReset();
    simSetRealTime(true);
    const char* shift = std::getenv("ORCA_DEMO_SHIFT");
    if (shift != nullptr && shift[0] != '\0' && std::string(shift) != "0") {
        simStartDemoShift(pathOf, units);
        return;
    }
    const int first = simAddDemoUnit(pathOf(0), L"1-1");
    // For watching the check before the lock: the first unit's controller becomes another
    // model after the seconds asked, with no device change to tell.
    if (const char* swapAfter = std::getenv("ORCA_DEMO_SWAP"))
        simRunDemoThread([first, seconds = std::atoi(swapAfter)] {
            if (simDemoPause(std::chrono::seconds(seconds)))
                simSwapController(first, 0x0BADC0DE, 0x0909);
        });
    if (units > 1)
        simRunDemoThread([pathOf, units] {
            for (int unit = 1; unit < units && simDemoPause(std::chrono::seconds(2)); ++unit)
                simAddDemoUnit(pathOf(unit), L"1-2." + std::to_wstring(unit));
        });
}

int simDemoUnitsAsked() {
    const char* asked = std::getenv("ORCA_DEMO_UNITS");
    const int units = asked != nullptr ? std::atoi(asked) : 1;
    return units >= 1 && units <= 16 ? units : 1;
}

void simSetOpenable(int device, bool openable) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.devices.at(device).openable = openable;
}

void simSetAttributesReadable(int device, bool readable) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.devices.at(device).attributesReadable = readable;
}

void simSetCapabilitiesReadable(int device, bool readable) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.devices.at(device).capabilitiesReadable = readable;
}

void simSetListAvailable(bool available) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.listAvailable = available;
}

void simRemoveDevice(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice& removed = simBus.devices.at(device);
    removed.present = false;
    removed.pending.clear();
}

void simSwapController(int device, std::uint32_t typeCode, std::uint16_t escFirmwareVersion) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice& unit = simBus.devices.at(device);
    unit.config.typeCode = typeCode;
    unit.config.escFirmwareVersion = escFirmwareVersion;
    const std::size_t flashSize = unit.controller.flash.size();
    unit.controller = SimController{};
    unit.controller.flash.assign(flashSize, 0xFF);
}

int simReplugUnit(int device) {
    SimDevice again;
    {
        std::lock_guard<std::mutex> guard(simBus.lock);
        const SimDevice& gone = simBus.devices.at(device);
        again.path = gone.path;
        again.config = gone.config;
        again.controller = gone.controller;
    }
    const int index = simAddUnit(again.path, again.config);
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimController& controller = simBus.devices[index].controller;
    // The unit starts afresh; the controller behind it keeps what its flash holds.
    controller.flash = again.controller.flash;
    controller.erased = again.controller.erased;
    controller.application = again.controller.application;
    return index;
}

void simAddFault(int device, const SimFault& fault) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.devices.at(device).faults.push_back({fault, 0});
}

std::vector<SimExchange> simTranscript() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.transcript;
}

std::size_t simTranscriptSize() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.transcript.size();
}

SimExchange simExchange(std::size_t index) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.transcript.at(index);
}

std::size_t simOpenHandles() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.handles.size();
}

SimUnitConfig simUnitConfig(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(device).config;
}

void simChangeUnitConfig(int device, const std::function<void(SimUnitConfig&)>& change) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    change(simBus.devices.at(device).config);
}

std::vector<std::uint8_t> simFlash(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(device).controller.flash;
}

std::uint32_t simProtocolViolations(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(device).violations;
}

bool simLockHeld(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(device).controller.locked;
}

bool simWriteProtected(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(device).controller.writeProtected;
}

void simSetFirmwareImage(const std::vector<std::uint8_t>& image) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.image = image;
    simBus.imageSha256 = image.empty() ? std::string() : sha256Hex(image.data(), image.size());
    simBus.applicationBytes = image.size();
}

void simDamageFirmwareImage(std::size_t offset) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.image.at(offset) ^= 0x01;
}
