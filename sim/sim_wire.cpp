// The unit's end of the wire: how a request is taken and its answer handed back, whatever
// carries the reports there (the simulated bus's handles, or a virtual device node).
#include "platform/platform.h"
#include "sim/sim_state.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;

bool fail(std::uint32_t error) {
    simLastError = error;
    return false;
}

SimAnswerResult failed(std::uint32_t error) {
    simLastError = error;
    return SimAnswerResult::Failed;
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

void applyAnswerFaults(SimDevice& device, const std::vector<SimFault>& faults,
                       SimPendingAnswer& answer, bool& answered) {
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
            device.controller.locked = false;
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
}

} // namespace

bool simTakeRequest(int index, const std::uint8_t* report, std::size_t length,
                    std::uint32_t timeoutMs, std::unique_lock<std::mutex>& held) {
    SimDevice& device = simBus.devices.at(static_cast<std::size_t>(index));
    if (!device.present)
        return fail(kSimErrorNotConnected);
    if (!device.isUnit)
        return fail(kErrorInvalidParameter);
    if (length != device.config.outputReportLength || length < 2)
        return fail(kErrorInvalidParameter);

    ++device.requestsSeen;
    device.lastRequestAt = simClockNow();
    device.sawLock = device.sawLock || report[1] == 0x0B; // SYSTEM_LOCK
    std::vector<SimFault> faults = faultsFor(device, report[1]);
    for (const SimFault& fault : faults) {
        if (fault.kind == SimFaultKind::Unplug) {
            device.present = false;
            device.pending.clear();
            return fail(kSimErrorNotConnected);
        }
        if (fault.kind == SimFaultKind::WriteFails)
            return fail(fault.lastError);
        if (fault.kind == SimFaultKind::NeverTaken) {
            simClockPass(timeoutMs, held);
            return fail(kSimErrorTimeout);
        }
    }

    const std::uint64_t now = simClockNow();
    simBus.transcript.push_back({index,
                                 device.requestsSeen,
                                 std::vector<std::uint8_t>(report, report + length),
                                 now,
                                 {},
                                 0,
                                 false,
                                 simClockNowUs(),
                                 0});

    SimPendingAnswer answer{simAnswer(device, report, length), now + device.config.answerLatencyMs,
                            simBus.transcript.size() - 1, false, 0};
    bool answered = true;
    applyAnswerFaults(device, faults, answer, answered);
    device.lastAnswer = answer.bytes;
    if (answered)
        device.pending.push_back(std::move(answer));
    return true;
}

SimAnswerResult simGiveAnswer(int index, std::uint8_t* report, std::size_t length,
                              std::uint32_t timeoutMs, std::unique_lock<std::mutex>& held) {
    SimDevice* device = &simBus.devices.at(static_cast<std::size_t>(index));
    if (!device->present)
        return failed(kSimErrorNotConnected);
    if (length != device->config.inputReportLength)
        return failed(kErrorInvalidParameter);

    const std::uint64_t now = simClockNow();
    if (device->pending.empty() || device->pending.front().readyAt > now + timeoutMs) {
        if (timeoutMs == 0)
            return SimAnswerResult::NotReady;
        simClockPass(timeoutMs, held);
        simBus.devices.at(static_cast<std::size_t>(index)).pending.clear();
        return failed(kSimErrorTimeout);
    }
    if (device->pending.front().readyAt > now)
        simClockPass(device->pending.front().readyAt - now, held);
    device = &simBus.devices.at(static_cast<std::size_t>(index));
    if (!device->present || device->pending.empty())
        return failed(kSimErrorNotConnected);

    SimPendingAnswer answer = std::move(device->pending.front());
    device->pending.pop_front();
    SimExchange& entry = simBus.transcript.at(answer.transcriptIndex);
    entry.readAt = simClockNow();
    entry.readAtUs = simClockNowUs();
    if (answer.readFails)
        return failed(answer.lastError);
    entry.answer = answer.bytes;
    entry.read = true;
    std::memcpy(report, answer.bytes.data(), std::min(length, answer.bytes.size()));
    return SimAnswerResult::Answered;
}

bool simUnitTakeRequest(int device, const std::uint8_t* report, std::size_t length) {
    std::unique_lock<std::mutex> held(simBus.lock);
    return simTakeRequest(device, report, length, 0, held);
}

SimAnswerResult simUnitGiveAnswer(int device, std::uint8_t* report, std::size_t length) {
    std::unique_lock<std::mutex> held(simBus.lock);
    return simGiveAnswer(device, report, length, 0, held);
}

bool simUnitPresent(int device) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.devices.at(static_cast<std::size_t>(device)).present;
}

std::uint32_t simLastErrorValue() {
    return simLastError;
}
