// Internal state of the simulated bus, shared by the sim's own files.
#pragma once

#include "sim/sim_unit.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

struct SimPendingAnswer {
    std::vector<std::uint8_t> bytes;
    std::uint64_t readyAt;
    std::size_t transcriptIndex;
    bool readFails;
    std::uint32_t lastError;
};

struct SimArmedFault {
    SimFault fault;
    int matches;
};

// What the controller's application flash holds, as its bootloader reports it: the
// firmware it came with (the unit's configured version); erased flash, which reads as no
// valid version (0xFFFF) from the erase until a whole image is written and write
// protection is back on; then the image, whose version it reports (3.0).
enum class SimApplication { AsConfigured, Erased, Written };
constexpr std::uint16_t kSimWrittenVersion = 0x0300;

struct SimController {
    bool locked = false;
    bool writeProtected = true;
    bool erased = false;
    bool addressSet = false;
    std::size_t position = 0;
    std::size_t writtenSinceAddress = 0;
    SimApplication application = SimApplication::AsConfigured;
    std::vector<std::uint8_t> flash;
};

struct SimDevice {
    std::wstring path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    bool isUnit = false;
    bool present = true;
    bool openable = true;
    bool attributesReadable = true;
    bool capabilitiesReadable = true;
    SimUnitConfig config;
    SimController controller;
    std::vector<SimArmedFault> faults;
    std::uint32_t requestsSeen = 0;
    std::uint64_t lastRequestAt = 0; // ms
    bool sawLock = false;            // a SYSTEM_LOCK came: an update began
    std::uint32_t violations = 0;
    std::deque<SimPendingAnswer> pending;
    std::vector<std::uint8_t> lastAnswer;
};

struct SimBus {
    std::mutex lock;
    std::vector<SimDevice> devices;
    std::map<std::intptr_t, int> handles;
    std::intptr_t nextHandle = 0x100;
    bool listAvailable = true;
    bool realTime = false;
    std::uint64_t virtualNow = 0;
    std::vector<SimExchange> transcript;
    std::vector<std::uint8_t> image;
    std::string imageSha256; // as the build took it: a damaged image keeps the old one
    // The size of the application the controllers' bootloaders take as whole; 0: any.
    std::size_t applicationBytes = 0;
    // The demo's own threads (its operator, its late units) end before the bus goes at the
    // program's end: they would otherwise go on using it after it was freed.
    std::vector<std::thread> demoThreads;
    bool ending = false;
    std::condition_variable demoWake;

    SimBus() = default;
    SimBus(const SimBus&) = delete;
    SimBus& operator=(const SimBus&) = delete;
    ~SimBus();
};

extern SimBus simBus;

// A thread of the demo's, ended with the bus.
void simRunDemoThread(std::function<void()> work);
// A pause of `span` in real time within a demo thread: false once the bus is ending, and
// the thread must return.
bool simDemoPause(std::chrono::milliseconds span);

// The simulated operating system's last-error value, per thread as on Windows.
extern thread_local std::uint32_t simLastError;

// Time in ms; the caller holds simBus.lock.
std::uint64_t simClockNow();
// Lets `ms` pass; the caller holds `held`, which is released while real time passes.
void simClockPass(std::uint64_t ms, std::unique_lock<std::mutex>& held);
// The same clock in microseconds, and a pass until a moment on it.
std::uint64_t simClockNowUs();
void simClockPassUntilUs(std::uint64_t until, std::unique_lock<std::mutex>& held);

// One transfer at the unit's end of the wire; the caller holds `held`. Failures set
// simLastError. With `timeoutMs` 0 an answer not ready yet is NotReady and stays queued.
bool simTakeRequest(int index, const std::uint8_t* report, std::size_t length,
                    std::uint32_t timeoutMs, std::unique_lock<std::mutex>& held);
SimAnswerResult simGiveAnswer(int index, std::uint8_t* report, std::size_t length,
                              std::uint32_t timeoutMs, std::unique_lock<std::mutex>& held);

// The unit's answer to one request, at the unit's input report length.
std::vector<std::uint8_t> simAnswer(SimDevice& device, const std::uint8_t* request,
                                    std::size_t length);
