// The trace's view of a unit's record: its events, and the waits between requests.
#include "unitlink/unit_connection.h"

void traceEvent(const UnitConnection& connection, WireEvent event) {
    const std::uint32_t error = platformLastError();
    event.device = &connection.devicePath;
    (*connection.trace)(event);
    platformSetLastError(error);
}

namespace {

void traceWait(const UnitConnection& connection, std::uint32_t askedMs, std::int64_t fromUs) {
    WireEvent event{WireEventKind::Waited, platformMicroseconds()};
    event.askedMs = askedMs;
    event.measuredUs = event.atUs - fromUs;
    traceEvent(connection, event);
}

} // namespace

void unitWait(const UnitConnection& connection, std::uint32_t ms) {
    if (connection.trace == nullptr)
        return platformWait(ms);
    const std::int64_t from = platformMicroseconds();
    platformWait(ms);
    traceWait(connection, ms, from);
}

UnitDeadline unitDeadline(const UnitConnection& connection, std::uint32_t ms) {
    // Taken before the deadline: a thread preempted between the two would otherwise show
    // a wait shorter than the one it kept.
    const std::int64_t from = connection.trace != nullptr ? platformMicroseconds() : 0;
    return {unitIsOpen(connection) ? platformDeadlineAfterAnswer(connection.handle, ms)
                                   : platformDeadline(ms),
            ms, from};
}

void unitWaitUntil(const UnitConnection& connection, const UnitDeadline& deadline) {
    platformWaitUntil(deadline.at);
    if (connection.trace != nullptr)
        traceWait(connection, deadline.askedMs, deadline.fromUs);
}
