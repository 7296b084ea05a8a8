// The simulated unit as a WebAssembly module, for a fake WebHID device in a browser (the
// demo page and the page's tests): the same protocol, faults and transcript as the
// simulated bus, in real time, reached from JavaScript one report at a time.
#include "sim/sim_unit.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <string>

extern "C" {

EMSCRIPTEN_KEEPALIVE void simDeviceReset() {
    simReset();
    simSetRealTime(true);
}

// A DOCK-BOX or DOCKPAD with an ORCA 75 LX behind it; 0 keeps the demo unit's value
// (a DOCK-BOX, firmware 2.5, bootloader 1.5, ready).
EMSCRIPTEN_KEEPALIVE int simDeviceAddUnit(int number, int productId, int escFirmwareVersion,
                                          int escState, int inBootloader, unsigned typeCode) {
    SimUnitConfig config;
    if (productId != 0)
        config.productId = static_cast<std::uint16_t>(productId);
    if (escFirmwareVersion != 0)
        config.escFirmwareVersion = static_cast<std::uint16_t>(escFirmwareVersion);
    if (escState != 0)
        config.escState = static_cast<std::uint16_t>(escState);
    config.unitInBootloader = inBootloader != 0;
    if (typeCode != 0)
        config.typeCode = typeCode;
    return simAddUnit(L"fake:" + std::to_wstring(number), config);
}

EMSCRIPTEN_KEEPALIVE int simDevicePresent(int device) {
    return simUnitPresent(device) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void simDeviceSwap(int device, unsigned typeCode, int escFirmwareVersion) {
    simSwapController(device, typeCode, static_cast<std::uint16_t>(escFirmwareVersion));
}

EMSCRIPTEN_KEEPALIVE void simDeviceRemove(int device) {
    simRemoveDevice(device);
}

EMSCRIPTEN_KEEPALIVE void simDeviceFault(int device, int kind, int command, int nth, unsigned code,
                                         unsigned lastError) {
    SimFault fault;
    fault.kind = static_cast<SimFaultKind>(kind);
    fault.command = command;
    fault.nth = nth;
    fault.code = code;
    fault.lastError = lastError;
    simAddFault(device, fault);
}

// 1 taken, 0 refused, 2 a write that never completes (the fake never settles it).
EMSCRIPTEN_KEEPALIVE int simDeviceTake(int device, const std::uint8_t* report, int length) {
    if (simUnitTakeRequest(device, report, static_cast<std::size_t>(length)))
        return 1;
    return simLastErrorValue() == kSimErrorTimeout ? 2 : 0;
}

// 0 answered, 1 not ready yet, 2 failed.
EMSCRIPTEN_KEEPALIVE int simDeviceGive(int device, std::uint8_t* report, int length) {
    switch (simUnitGiveAnswer(device, report, static_cast<std::size_t>(length))) {
    case SimAnswerResult::Answered:
        return 0;
    case SimAnswerResult::NotReady:
        return 1;
    case SimAnswerResult::Failed:
        break;
    }
    return 2;
}

EMSCRIPTEN_KEEPALIVE int simDeviceOutputLength(int device) {
    return static_cast<int>(simUnitConfig(device).outputReportLength);
}

EMSCRIPTEN_KEEPALIVE int simDeviceInputLength(int device) {
    return static_cast<int>(simUnitConfig(device).inputReportLength);
}

EMSCRIPTEN_KEEPALIVE int simDeviceRequests() {
    return static_cast<int>(simTranscriptSize());
}

// Request `index` of the transcript (its device, then its bytes); its length.
EMSCRIPTEN_KEEPALIVE int simDeviceRequest(int index, int* device, std::uint8_t* bytes,
                                          int capacity) {
    const SimExchange exchange = simExchange(static_cast<std::size_t>(index));
    *device = exchange.device;
    const std::size_t length =
        std::min(exchange.request.size(), static_cast<std::size_t>(capacity));
    std::memcpy(bytes, exchange.request.data(), length);
    return static_cast<int>(length);
}

// When request `index` was written and its answer read, in ms of the unit's clock.
EMSCRIPTEN_KEEPALIVE void simDeviceTimes(int index, double* writtenAt, double* readAt) {
    const SimExchange exchange = simExchange(static_cast<std::size_t>(index));
    *writtenAt = static_cast<double>(exchange.writtenAt);
    *readAt = exchange.read ? static_cast<double>(exchange.readAt) : -1;
}

EMSCRIPTEN_KEEPALIVE int simDeviceFlashLength(int device) {
    return static_cast<int>(simFlash(device).size());
}

// The controller's flash into `bytes`; its length there.
EMSCRIPTEN_KEEPALIVE int simDeviceFlash(int device, std::uint8_t* bytes, int capacity) {
    const std::vector<std::uint8_t> flash = simFlash(device);
    const std::size_t length = std::min(flash.size(), static_cast<std::size_t>(capacity));
    std::memcpy(bytes, flash.data(), length);
    return static_cast<int>(length);
}

EMSCRIPTEN_KEEPALIVE int simDeviceViolations(int device) {
    return static_cast<int>(simProtocolViolations(device));
}

EMSCRIPTEN_KEEPALIVE int simDeviceLockHeld(int device) {
    return simLockHeld(device) ? 1 : 0;
}

} // extern "C"
