// The HID device interface class, from hid.dll (or its published value where hid.dll is
// missing): what SetupAPI lists and device notifications are registered for.
#pragma once

#include <windows.h>

GUID hidInterfaceClass();
