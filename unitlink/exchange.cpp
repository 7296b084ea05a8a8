#include "unitlink/unit_connection.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void traceReport(const UnitConnection& connection, WireEventKind kind, std::int64_t atUs,
                 const std::vector<std::uint8_t>& report) {
    WireEvent event{kind, atUs};
    event.bytes = report.data();
    event.length = report.size();
    if (kind == WireEventKind::NotSent || kind == WireEventKind::NotReceived)
        event.error = platformLastError();
    traceEvent(connection, event);
}

} // namespace

std::int32_t exchange(UnitConnection& connection, const Report request, Report answer,
                      std::uint32_t answerDelay) {
    if (!unitIsOpen(connection))
        return kExchangeRefused;
    const bool traced = connection.trace != nullptr;

    // The unit may declare reports longer than our buffers: the excess goes out as zero
    // and is ignored on receipt.
    std::vector<std::uint8_t> wire(std::max<std::size_t>(connection.outputReportLength, 1), 0);
    std::memcpy(wire.data(), request, std::min(wire.size(), kReportSize));
    const std::int64_t sentAt = traced ? platformMicroseconds() : 0;
    const bool sent = platformWriteReport(connection.handle, wire.data(),
                                          connection.outputReportLength, kReportTimeoutMs);
    if (traced)
        traceReport(connection, sent ? WireEventKind::Sent : WireEventKind::NotSent, sentAt, wire);
    if (!sent)
        return kExchangeWriteFailed;

    if (answerDelay != 0)
        unitWait(connection, answerDelay);

    answer[0] = kInputReportId;
    wire.assign(std::max<std::size_t>(connection.inputReportLength, 1), 0);
    wire[0] = kInputReportId;
    const bool received = platformReadReport(connection.handle, wire.data(),
                                             connection.inputReportLength, kReportTimeoutMs);
    if (traced)
        traceReport(connection, received ? WireEventKind::Received : WireEventKind::NotReceived,
                    platformMicroseconds(), wire);
    if (!received)
        return kExchangeReadFailed;
    std::memcpy(answer, wire.data(),
                std::min<std::size_t>(connection.inputReportLength, kReportSize));
    return kExchangeOk;
}

std::int32_t unitError(const Report answer) {
    if (answer[1] != kStatusError)
        return kExchangeOk;
    return static_cast<std::int32_t>(readU32(answer + 4));
}

std::int32_t unitError16(const Report answer) {
    if (answer[1] != kStatusError)
        return kExchangeOk;
    return readU16(answer + 4);
}

std::uint16_t escFirmwareVersion(const UnitConnection& connection) {
    return readU16(connection.escInfo.bytes + 4);
}

void setEscFirmwareVersion(UnitConnection& connection, std::uint16_t version) {
    writeU16(connection.escInfo.bytes + 4, version);
}

std::uint32_t escTypeCode(const UnitConnection& connection) {
    return readU32(connection.bootInfo.bytes);
}

std::uint32_t escBootloaderVersion(const UnitConnection& connection) {
    return readU32(connection.bootInfo.bytes + 4);
}
