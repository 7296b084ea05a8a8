#include "unitlink/unit_connection.h"

#include <cstring>

static void storeBootIdentity(UnitConnection& connection, const Report answer) {
    connection.bootIdentity.at4 = answer[4];
    connection.bootIdentity.at5 = readU16(answer + 5);
    connection.bootIdentity.at7 = readU32(answer + 7);
    connection.bootIdentity.at11 = readU32(answer + 11);
    connection.bootIdentity.at15 = answer[15];
}

static void storeUnitVersion(UnitConnection& connection, const Report answer) {
    connection.unitFirmwareVersion = readU32(answer + 8);
    connection.unitIdentityWord = readU32(answer + 12);
}

std::int32_t identifyUnit(UnitConnection& connection) {
    if (!unitIsOpen(connection) || connection.devicePath.empty())
        return kExchangeRefused;

    std::uint32_t outputLength = 0;
    std::uint32_t inputLength = 0;
    if (!platformGetReportLengths(connection.handle, outputLength, inputLength))
        return kExchangeRefused;
    connection.outputReportLength = outputLength;
    connection.inputReportLength = inputLength;
    // Too short for what the requests carry or the answers are read from.
    if (outputLength < kMinOutputReportLength || inputLength < kMinInputReportLength)
        return kExchangeRefused;

    Report request;
    Report answer = {};
    startRequest(request, GET_INFO, 0x00);
    std::int32_t result = exchange(connection, request, answer, 0);
    if (result != kExchangeOk)
        return result;
    connection.unitInBootloader = answer[3];

    if (connection.unitInBootloader != 0) {
        storeBootIdentity(connection, answer);
        startRequest(request, READ_MEMORY, 0x0C);
        writeU32(request + 4, kUnitInfoAddress);
        std::memset(answer, 0, kReportSize);
        result = exchange(connection, request, answer, 0);
        if (result != kExchangeOk)
            return result;
        storeUnitVersion(connection, answer);
        return kExchangeOk;
    }

    connection.escState = readU16(answer + 4);
    connection.escStateAux = readU16(answer + 6);
    storeUnitVersion(connection, answer);
    if (connection.escState != kEscStateUpdatable)
        return kExchangeOk;

    startRequest(request, READ_ESC_INFO, 0x08);
    writeU32(request + 4, 0x00000020);
    writeU32(request + 8, 0xFFFFFFE0);
    std::memset(answer, 0, kReportSize);
    result = exchange(connection, request, answer, 0);
    if (result != kExchangeOk)
        return result;
    if (answer[1] == kStatusError) {
        result = unitError16(answer);
        if (result != kExchangeOk)
            return result;
    } else {
        std::memcpy(connection.escInfo.bytes, answer + 4, sizeof connection.escInfo.bytes);
    }

    // The unit expects this request in the buffer that holds the previous answer: only
    // the report ID and command are written, the rest goes out as it stands.
    Report& bootRequest = answer;
    bootRequest[0] = kOutputReportId;
    bootRequest[1] = READ_BOOT_INFO;
    Report bootAnswer = {};
    result = exchange(connection, bootRequest, bootAnswer, 0);
    if (result != kExchangeOk)
        return result;
    if (bootAnswer[1] == kStatusError)
        return unitError16(bootAnswer);
    std::memcpy(connection.bootInfo.bytes, bootAnswer + 4, sizeof connection.bootInfo.bytes);
    return kExchangeOk;
}
