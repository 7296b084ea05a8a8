// The platform's HID functions, served by the simulated bus.
#include "platform/platform.h"
#include "sim/sim_state.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;

SimDevice* deviceOf(DeviceHandle handle) {
    auto it = simBus.handles.find(handle);
    return it == simBus.handles.end() ? nullptr : &simBus.devices[it->second];
}

int indexOf(DeviceHandle handle) {
    return simBus.handles.at(handle);
}

bool fail(std::uint32_t error) {
    simLastError = error;
    return false;
}

// The faults that hit this request, in the order they were armed. A fault counts the
// matching requests from the moment it was armed.
std::vector<SimFault> faultsFor(SimDevice& device, std::uint8_t command) {
    std::vector<SimFault> hits;
    for (SimArmedFault& armed : device.faults) {
        if (armed.fault.command != kAnyCommand && armed.fault.command != command)
            continue;
        int match = ++armed.matches;
        if (armed.fault.nth == 0 || armed.fault.nth == match)
            hits.push_back(armed.fault);
    }
    return hits;
}

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    paths.clear();
    if (!simBus.listAvailable)
        return fail(kErrorInvalidParameter);
    for (const SimDevice& device : simBus.devices)
        if (device.present)
            paths.push_back(device.path);
    return true;
}

DeviceHandle platformOpenDevice(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    for (std::size_t i = 0; i < simBus.devices.size(); ++i) {
        const SimDevice& device = simBus.devices[i];
        if (!device.present || device.path != path)
            continue;
        if (!device.openable) {
            simLastError = 5; // ERROR_ACCESS_DENIED
            return kNoDevice;
        }
        DeviceHandle handle = simBus.nextHandle++;
        simBus.handles[handle] = static_cast<int>(i);
        return handle;
    }
    simLastError = kSimErrorFileNotFound;
    return kNoDevice;
}

bool platformGetAttributes(DeviceHandle handle, std::uint16_t& vendorId, std::uint16_t& productId) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr || !device->present || !device->attributesReadable)
        return fail(kSimErrorNotConnected);
    vendorId = device->vendorId;
    productId = device->productId;
    return true;
}

bool platformGetReportLengths(DeviceHandle handle, std::uint32_t& outputLength,
                              std::uint32_t& inputLength) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr || !device->present || !device->capabilitiesReadable)
        return fail(kSimErrorNotConnected);
    outputLength = device->config.outputReportLength;
    inputLength = device->config.inputReportLength;
    return true;
}

void platformFlushInput(DeviceHandle handle) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    if (SimDevice* device = deviceOf(handle))
        device->pending.clear();
}

bool platformWriteReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> held(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr)
        return fail(6); // ERROR_INVALID_HANDLE
    if (!device->present)
        return fail(kSimErrorNotConnected);
    if (!device->isUnit)
        return fail(kErrorInvalidParameter);
    if (length != device->config.outputReportLength || length < 2)
        return fail(kErrorInvalidParameter);

    ++device->requestsSeen;
    std::vector<SimFault> faults = faultsFor(*device, report[1]);
    for (const SimFault& fault : faults) {
        if (fault.kind == SimFaultKind::Unplug) {
            device->present = false;
            device->pending.clear();
            return fail(kSimErrorNotConnected);
        }
        if (fault.kind == SimFaultKind::WriteFails)
            return fail(fault.lastError);
        if (fault.kind == SimFaultKind::NeverTaken) {
            simClockPass(timeoutMs, held);
            return fail(kTimeoutError);
        }
    }

    const std::uint64_t now = simClockNow();
    SimExchange entry{indexOf(handle),
                      device->requestsSeen,
                      std::vector<std::uint8_t>(report, report + length),
                      now,
                      {},
                      0,
                      false};
    simBus.transcript.push_back(entry);

    SimPendingAnswer answer{simAnswer(*device, report, length),
                            now + device->config.answerLatencyMs, simBus.transcript.size() - 1,
                            false, 0};
    bool answered = true;
    for (const SimFault& fault : faults) {
        switch (fault.kind) {
        case SimFaultKind::ReadFails:
            answer.readFails = true;
            answer.lastError = fault.lastError;
            break;
        case SimFaultKind::StatusError:
            answer.bytes[1] = 0xFF;
            for (int i = 0; i < 4; ++i)
                answer.bytes[4 + i] = static_cast<std::uint8_t>(fault.code >> (8 * i));
            break;
        case SimFaultKind::LockRefused:
            answer.bytes[3] = 0x00;
            device->controller.locked = false;
            break;
        case SimFaultKind::PatchAnswer:
            answer.bytes.at(fault.offset) = fault.value;
            break;
        case SimFaultKind::NeverAnswers:
            answered = false;
            break;
        default:
            break;
        }
    }
    device->lastAnswer = answer.bytes;
    if (answered)
        device->pending.push_back(std::move(answer));
    return true;
}

bool platformReadReport(DeviceHandle handle, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> held(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr)
        return fail(6);
    if (!device->present)
        return fail(kSimErrorNotConnected);
    if (length != device->config.inputReportLength)
        return fail(kErrorInvalidParameter);

    const std::uint64_t now = simClockNow();
    if (device->pending.empty() || device->pending.front().readyAt > now + timeoutMs) {
        simClockPass(timeoutMs, held);
        device = deviceOf(handle);
        if (device != nullptr)
            device->pending.clear();
        return fail(kTimeoutError);
    }
    if (device->pending.front().readyAt > now)
        simClockPass(device->pending.front().readyAt - now, held);
    device = deviceOf(handle);
    if (device == nullptr || !device->present || device->pending.empty())
        return fail(kSimErrorNotConnected);

    SimPendingAnswer answer = std::move(device->pending.front());
    device->pending.pop_front();
    SimExchange& entry = simBus.transcript.at(answer.transcriptIndex);
    entry.readAt = simClockNow();
    if (answer.readFails)
        return fail(answer.lastError);
    entry.answer = answer.bytes;
    entry.read = true;
    std::memcpy(report, answer.bytes.data(), std::min(length, answer.bytes.size()));
    return true;
}

void platformCloseDevice(DeviceHandle handle) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.handles.erase(handle);
}

std::uint32_t platformLastError() {
    return simLastError;
}
