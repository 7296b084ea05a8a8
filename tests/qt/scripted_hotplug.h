// A device watch that a test tells what happens: each event is written to a pipe that the
// window watches, as udev's monitor wakes it through its socket.
#pragma once

#include "platform/platform.h"

// To the watch the window started last; false when it has none.
bool tellHotPlug(const HotPlugEvent& event);
