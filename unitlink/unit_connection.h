// The one record of the open programming unit, and the operations that talk to it.
#pragma once

#include "platform/platform.h"
#include "unitlink/wire_trace.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Exchange results, shared by every operation that talks to the unit.
constexpr std::int32_t kExchangeOk = 0;
constexpr std::int32_t kExchangeRefused = -1;
constexpr std::int32_t kExchangeWriteFailed = -2;
constexpr std::int32_t kExchangeReadFailed = -3;
constexpr std::int32_t kNoUnitFound = -4;
// The answer did not confirm the request (lock and write-protection switches).
constexpr std::int32_t kAnswerNotConfirmed = 1627;

constexpr std::uint16_t kUnitVendorId = 0x1F4B;
constexpr std::uint16_t kProductDockpad = 1;
constexpr std::uint16_t kProductDockBox = 2;

constexpr std::size_t kReportSize = 60;
constexpr std::uint8_t kOutputReportId = 0x01;
constexpr std::uint8_t kInputReportId = 0x02;
constexpr std::uint8_t kStatusError = 0xFF;
// Shortest reports whose content the requests and answers need.
constexpr std::uint32_t kMinOutputReportLength = 52;
constexpr std::uint32_t kMinInputReportLength = 44;
// Long enough for every answer the unit legitimately gives, erase included.
constexpr std::uint32_t kReportTimeoutMs = 10000;

// Unit commands.
constexpr std::uint8_t GET_INFO = 0x08;
constexpr std::uint8_t READ_MEMORY = 0x0A;
constexpr std::uint8_t SYSTEM_LOCK = 0x0B;
constexpr std::uint8_t WRITE_BLOCK = 0x1B;
constexpr std::uint8_t READ_ESC_INFO = 0x1D;
constexpr std::uint8_t ERASE = 0x1E;
constexpr std::uint8_t SET_ADDRESS = 0x1F;
constexpr std::uint8_t WRITE_PROTECT = 0x20;
constexpr std::uint8_t READ_BOOT_INFO = 0x22;

// The image's bytes that one WRITE_BLOCK carries; a short final block is sent as long.
constexpr std::size_t kWriteBlockBytes = 48;
constexpr std::uint32_t kConfirmationKey = 0x3A7E5C91;
constexpr std::uint32_t kEraseAnswerDelayMs = 1000;
constexpr std::uint32_t kUnitInfoAddress = 0x0801FC00;
constexpr std::uint16_t kEscStateUpdatable = 3;
constexpr std::uint16_t kNoEscVersion = 0xFFFF;

using Report = std::uint8_t[kReportSize];

// Stored as the unit's own bootloader reports it in GET_INFO, not interpreted: each field
// is named for the answer byte it starts at.
struct BootIdentity {
    std::uint8_t at4;
    std::uint16_t at5;
    std::uint32_t at7;
    std::uint32_t at11;
    std::uint8_t at15;
};

// Controller information; bytes 4-5 hold the installed firmware version.
struct EscInfoBlock {
    std::uint8_t bytes[32];
};

// Bytes 0-3 the controller type code, 4-7 the bootloader version.
struct BootInfoBlock {
    std::uint8_t bytes[40];
};

struct UnitConnection {
    DeviceHandle handle = kNoDevice;
    std::wstring devicePath; // empty while no unit is open
    std::uint32_t outputReportLength = 0;
    std::uint32_t inputReportLength = 0;
    std::uint8_t unitInBootloader = 0;
    std::uint32_t unitFirmwareVersion = 0;
    std::uint32_t unitIdentityWord = 0;
    std::uint16_t escState = 0;
    std::uint16_t escStateAux = 0;
    BootIdentity bootIdentity{};
    EscInfoBlock escInfo{};
    BootInfoBlock bootInfo{};
    std::uint16_t productId = 0;
    // Follows every report and wait when set; kept when the unit is closed.
    const WireTrace* trace = nullptr;
};

inline bool unitIsOpen(const UnitConnection& connection) {
    return connection.handle != kNoDevice;
}

// Little-endian fields of reports and information blocks.
inline std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void writeU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A zeroed request with its report ID, command and count byte.
inline void startRequest(Report request, std::uint8_t command, std::uint8_t count) {
    for (std::size_t i = 0; i < kReportSize; ++i)
        request[i] = 0;
    request[0] = kOutputReportId;
    request[1] = command;
    request[2] = count;
}

std::uint16_t escFirmwareVersion(const UnitConnection& connection);
void setEscFirmwareVersion(UnitConnection& connection, std::uint16_t version);
std::uint32_t escTypeCode(const UnitConnection& connection);
std::uint32_t escBootloaderVersion(const UnitConnection& connection);

// Hands `event` to the unit's trace (set), naming the unit, keeping the last-error value.
void traceEvent(const UnitConnection& connection, WireEvent event);
// The waits between requests, as the trace sees them: asked, and measured from the moment
// they count from. Without a trace, platformWait and its deadline as they are; a deadline
// counts from the unit's last answer (platformDeadlineAfterAnswer).
struct UnitDeadline {
    WaitDeadline at;
    std::uint32_t askedMs;
    std::int64_t fromUs;
};
void unitWait(const UnitConnection& connection, std::uint32_t ms);
UnitDeadline unitDeadline(const UnitConnection& connection, std::uint32_t ms);
void unitWaitUntil(const UnitConnection& connection, const UnitDeadline& deadline);

// Report exchange.
std::int32_t exchange(UnitConnection& connection, const Report request, Report answer,
                      std::uint32_t answerDelay);
std::int32_t unitError(const Report answer);
std::int32_t unitError16(const Report answer);

// Discovery and identification. openUnitAt opens only the unit at that listed path.
bool isUnit(std::uint16_t vendorId, std::uint16_t productId);
std::int32_t openUnit(UnitConnection& connection);
std::int32_t openUnitAt(UnitConnection& connection, const std::wstring& path);
void closeUnit(UnitConnection& connection);
std::int32_t identifyUnit(UnitConnection& connection);

// Flash commands.
std::int32_t setSystemLock(UnitConnection& connection, bool take);
std::int32_t setWriteProtect(UnitConnection& connection, bool on);
std::int32_t erase(UnitConnection& connection);
std::int32_t setAddress(UnitConnection& connection);
std::int32_t writeBlock(UnitConnection& connection, const std::uint8_t* data,
                        std::uint32_t wordCount);
