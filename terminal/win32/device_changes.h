// Device notifications for a console program: a message-only window of the run's thread
// receives WM_DEVICECHANGE for the HID class, where the platform's watch registers it.
#pragma once

#include "platform/platform.h"

#include <deque>

struct ConsoleDeviceChanges {
    void* window = nullptr;
    HotPlugWatch* watch = nullptr;
    std::deque<HotPlugEvent> waiting;
};

// Starts following them; false (and nothing to stop) where they cannot be followed, as on
// the simulated bus.
bool startDeviceChanges(ConsoleDeviceChanges& changes);
void stopDeviceChanges(ConsoleDeviceChanges& changes);
// Waits up to `ms`, less when a change comes, then takes what the window received.
void awaitDeviceChanges(ConsoleDeviceChanges& changes, unsigned ms);
// The next change received, false when none waits.
bool nextDeviceChange(ConsoleDeviceChanges& changes, HotPlugEvent& event);
