// Arrivals and removals of hidraw nodes, from udev's netlink monitor: the hot-plug source
// of the Linux window. One monitor per process.
#pragma once

#include <string>

enum class DeviceEventKind { Arrival, Removal };

struct DeviceEvent {
    DeviceEventKind kind;
    std::wstring path; // the device node, as platformListHidInterfaces names it
};

// Starts listening. Returns the descriptor that becomes readable when events wait, or -1
// when udev cannot be reached (then nothing is ever reported).
int deviceMonitorStart();
// Takes the next waiting arrival or removal; false when none waits. Never blocks.
bool deviceMonitorNext(DeviceEvent& event);
void deviceMonitorStop();
