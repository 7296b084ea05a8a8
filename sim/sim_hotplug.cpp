// The simulated bus tells of no device change: a program on it looks at what is plugged in
// instead, as it does where the platform has no watch.
#include "platform/platform.h"

HotPlugWatch* platformWatchHotPlug(void*) {
    platformSetLastError(50); // ERROR_NOT_SUPPORTED
    return nullptr;
}

int platformHotPlugDescriptor(const HotPlugWatch*) {
    return -1;
}

bool platformNextHotPlug(HotPlugWatch*, HotPlugEvent&) {
    return false;
}

void platformStopHotPlug(HotPlugWatch*) {}
