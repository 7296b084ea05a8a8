// What a unit's record sends, receives and waits, for whoever follows it (support's trace
// of a production line). Handed each event on the thread that talks to the unit, right
// after it happened; that thread's last-error value, which a failure is
// reported with afterwards, is given back after it. It should only take note, not write
// to a disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

enum class WireEventKind { Sent, NotSent, Received, NotReceived, Waited };

struct WireEvent {
    WireEventKind kind;
    std::int64_t atUs; // platformMicroseconds(): a send's start, an answer's or a wait's end
    const std::wstring* device = nullptr; // the unit's interface path; empty once closed
    const std::uint8_t* bytes = nullptr; // a report, whole, as it went or came
    std::size_t length = 0;
    std::uint32_t error = 0;     // NotSent, NotReceived: the system's error
    std::uint32_t askedMs = 0;   // Waited: what was asked,
    std::int64_t measuredUs = 0; // and how long it lasted from the moment it counts from
};

using WireTrace = std::function<void(const WireEvent&)>;
