#include "unitlink/unit_connection.h"

#include <algorithm>
#include <cstring>

constexpr std::size_t kMaxBlockBytes = kReportSize - 4;

// Sends a command whose answer carries a 0x00/0x01 switch confirmation in byte 3.
static std::int32_t sendSwitch(UnitConnection& connection, std::uint8_t command, bool value,
                               Report answer) {
    Report request;
    startRequest(request, command, 0x01);
    request[3] = value ? 0x01 : 0x00;
    std::memset(answer, 0, kReportSize);
    return exchange(connection, request, answer, 0);
}

std::int32_t setSystemLock(UnitConnection& connection, bool take) {
    Report answer;
    std::int32_t result = sendSwitch(connection, SYSTEM_LOCK, take, answer);
    if (result != kExchangeOk || !take)
        return result;
    // The status byte means nothing here: only the grant counts.
    return answer[3] == 0x01 ? kExchangeOk : kAnswerNotConfirmed;
}

std::int32_t setWriteProtect(UnitConnection& connection, bool on) {
    Report answer;
    std::int32_t result = sendSwitch(connection, WRITE_PROTECT, on, answer);
    if (result != kExchangeOk || on)
        return result;
    if (answer[1] == kStatusError)
        return unitError(answer);
    return answer[3] == 0x00 ? kExchangeOk : kAnswerNotConfirmed;
}

std::int32_t erase(UnitConnection& connection) {
    Report request;
    startRequest(request, ERASE, 0x04);
    writeU32(request + 4, kConfirmationKey);
    Report answer = {};
    std::int32_t result = exchange(connection, request, answer, kEraseAnswerDelayMs);
    return result != kExchangeOk ? result : unitError(answer);
}

std::int32_t setAddress(UnitConnection& connection) {
    Report request;
    startRequest(request, SET_ADDRESS, 0x09);
    request[3] = 0x01;
    writeU32(request + 4, 0x00000000);
    writeU32(request + 8, kConfirmationKey);
    Report answer = {};
    std::int32_t result = exchange(connection, request, answer, 0);
    return result != kExchangeOk ? result : unitError(answer);
}

std::int32_t writeBlock(UnitConnection& connection, const std::uint8_t* data,
                        std::uint32_t wordCount) {
    if (!unitIsOpen(connection) || wordCount > kMaxBlockBytes / 4)
        return kExchangeRefused;
    const std::size_t count = wordCount * 4;
    Report request;
    startRequest(request, WRITE_BLOCK, static_cast<std::uint8_t>(count));
    // A short final block carries its filler beyond the count.
    std::memcpy(request + 4, data, std::max(kWriteBlockBytes, count));
    Report answer = {};
    std::int32_t result = exchange(connection, request, answer, 0);
    return result != kExchangeOk ? result : unitError(answer);
}
