// How the unit and the controller bootloader behind it answer each request.
#include "sim/sim_state.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kKey = 0x3A7E5C91;

// Unit error codes of the simulation.
constexpr std::uint32_t kErrUnknownCommand = 0x01;
constexpr std::uint32_t kErrNoBootloader = 0x30;
constexpr std::uint32_t kErrNotUnlocked = 0x21;
constexpr std::uint32_t kErrNotErased = 0x22;
constexpr std::uint32_t kErrFlashFull = 0x23;
constexpr std::uint32_t kErrMalformed = 0x50;

std::uint32_t u32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool zeroFrom(const std::uint8_t* request, std::size_t from, std::size_t length) {
    for (std::size_t i = from; i < length; ++i)
        if (request[i] != 0)
            return false;
    return true;
}

struct Reply {
    std::vector<std::uint8_t>& bytes;
    void fail(std::uint32_t code) {
        bytes[1] = 0xFF;
        put32(&bytes[4], code);
    }
    // A request that breaks the protocol: refused, and counted for the tests.
    void malformed(SimDevice& device) {
        ++device.violations;
        fail(kErrMalformed);
    }
};

bool isUpdatable(const SimDevice& device) {
    return !device.config.unitInBootloader && device.config.escState == 3;
}

std::uint16_t reportedVersion(const SimDevice& device) {
    switch (device.controller.application) {
    case SimApplication::Erased:
        return 0xFFFF;
    case SimApplication::Written:
        return kSimWrittenVersion;
    case SimApplication::AsConfigured:
        break;
    }
    return device.config.escFirmwareVersion;
}

// Write protection back on after the blocks of a whole application makes it valid.
void protectionOn(SimController& ctl) {
    const std::size_t whole = std::max<std::size_t>(simBus.applicationBytes, 1);
    if (ctl.application == SimApplication::Erased && ctl.addressSet &&
        ctl.writtenSinceAddress >= whole)
        ctl.application = SimApplication::Written;
}

// The READ_BOOT_INFO request travels in the buffer of the previous answer.
bool bootInfoRequestWellFormed(const SimDevice& device, const std::uint8_t* request,
                               std::size_t length) {
    for (std::size_t i = 2; i < length; ++i) {
        std::uint8_t expected = i < device.lastAnswer.size() && i < 60 ? device.lastAnswer[i] : 0;
        if (request[i] != expected)
            return false;
    }
    return true;
}

void answerIdentification(SimDevice& device, const std::uint8_t* request, std::size_t length,
                          Reply reply) {
    const SimUnitConfig& c = device.config;
    std::uint8_t* a = reply.bytes.data();
    switch (request[1]) {
    case 0x08: // GET_INFO
        if (request[2] != 0 || !zeroFrom(request, 3, length))
            return reply.malformed(device);
        a[3] = c.unitInBootloader ? 0x01 : 0x00;
        if (c.unitInBootloader) {
            std::memcpy(a + 4, c.bootIdentity, sizeof c.bootIdentity);
        } else {
            put16(a + 4, c.escState);
            put16(a + 6, c.escStateAux);
            put32(a + 8, c.unitFirmwareVersion);
            put32(a + 12, c.unitIdentityWord);
        }
        return;
    case 0x0A: // READ_MEMORY
        if (request[2] != 0x0C || u32(request + 4) != 0x0801FC00 || request[3] != 0 ||
            !zeroFrom(request, 8, length))
            return reply.malformed(device);
        put32(a + 4, 0x0801FC00);
        put32(a + 8, c.unitFirmwareVersion);
        put32(a + 12, c.unitIdentityWord);
        return;
    case 0x1D: // READ_ESC_INFO
        if (request[2] != 0x08 || request[3] != 0 || u32(request + 4) != 0x20 ||
            u32(request + 8) != 0xFFFFFFE0 || !zeroFrom(request, 12, length))
            return reply.malformed(device);
        if (!isUpdatable(device))
            return reply.fail(kErrNoBootloader);
        for (int i = 0; i < 32; ++i)
            a[4 + i] = static_cast<std::uint8_t>(0xA0 + i);
        put16(a + 8, reportedVersion(device));
        if (c.controllerSerial != 0)
            put32(a + 20, c.controllerSerial);
        return;
    case 0x22: // READ_BOOT_INFO
        if (!bootInfoRequestWellFormed(device, request, length))
            return reply.malformed(device);
        if (!isUpdatable(device))
            return reply.fail(kErrNoBootloader);
        put32(a + 4, c.typeCode);
        put32(a + 8, c.bootloaderVersion);
        for (int i = 8; i < 40; ++i)
            a[4 + i] = static_cast<std::uint8_t>(0x50 + i);
        return;
    default:
        return reply.fail(kErrUnknownCommand);
    }
}

void answerFlash(SimDevice& device, const std::uint8_t* request, std::size_t length, Reply reply) {
    SimController& ctl = device.controller;
    std::uint8_t* a = reply.bytes.data();
    switch (request[1]) {
    case 0x0B: // SYSTEM_LOCK
    case 0x20: // WRITE_PROTECT
        if (request[2] != 0x01 || request[3] > 1 || !zeroFrom(request, 4, length))
            return reply.malformed(device);
        if (request[1] == 0x0B)
            ctl.locked = request[3] == 1;
        else if (!isUpdatable(device))
            return reply.fail(kErrNoBootloader);
        else
            ctl.writeProtected = request[3] == 1;
        if (request[1] == 0x20 && request[3] == 1)
            protectionOn(ctl);
        a[3] = request[3];
        return;
    case 0x1E: // ERASE
        if (request[2] != 0x04 || request[3] != 0 || u32(request + 4) != kKey ||
            !zeroFrom(request, 8, length))
            return reply.malformed(device);
        if (!ctl.locked || ctl.writeProtected)
            return reply.fail(kErrNotUnlocked);
        std::fill(ctl.flash.begin(), ctl.flash.end(), 0xFF);
        ctl.erased = true;
        ctl.addressSet = false;
        ctl.application = SimApplication::Erased;
        return;
    case 0x1F: // SET_ADDRESS
        if (request[2] != 0x09 || request[3] != 0x01 || u32(request + 8) != kKey ||
            !zeroFrom(request, 12, length))
            return reply.malformed(device);
        if (!ctl.erased)
            return reply.fail(kErrNotErased);
        ctl.position = u32(request + 4);
        ctl.writtenSinceAddress = 0;
        ctl.addressSet = true;
        return;
    case 0x1B: { // WRITE_BLOCK
        std::size_t count = request[2];
        if (count % 4 != 0 || count > 56 || request[3] != 0 ||
            !zeroFrom(request, 4 + std::max<std::size_t>(48, count), length))
            return reply.malformed(device);
        if (!ctl.addressSet || ctl.writeProtected || !ctl.locked)
            return reply.fail(kErrNotErased);
        if (ctl.position + count > ctl.flash.size())
            return reply.fail(kErrFlashFull);
        std::memcpy(ctl.flash.data() + ctl.position, request + 4, count);
        ctl.position += count;
        ctl.writtenSinceAddress += count;
        return;
    }
    default:
        return answerIdentification(device, request, length, reply);
    }
}

} // namespace

std::vector<std::uint8_t> simAnswer(SimDevice& device, const std::uint8_t* request,
                                    std::size_t length) {
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(device.config.inputReportLength, 60), 0);
    bytes[0] = 0x02;
    if (request[0] != 0x01) {
        Reply{bytes}.malformed(device);
    } else {
        answerFlash(device, request, length, Reply{bytes});
    }
    bytes.resize(device.config.inputReportLength);
    return bytes;
}
