// The interfaces of the HID class present, as SetupAPI lists them, each with its device
// node: the device list and the socket lookup both walk them.
#pragma once

#include <windows.h>

#include <functional>

// Calls `each` with every interface's path and device node until it returns true; false
// when the list is unavailable.
bool forEachHidInterface(const std::function<bool(const wchar_t* path, DWORD node)>& each);
