// Every programming unit present, also those this user may not open.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ListedUnit {
    std::wstring path;
    std::uint16_t productId;
    bool openable; // false: present, but opening it was refused
    bool inUse;    // refused because another program of ours has it open
    std::wstring port; // the USB socket it is plugged into; empty where none is told
    std::wstring instance; // this plugging of it (platformInstanceOf)
};

// In enumeration order; false when the device list is unavailable. Opens each interface
// for a moment to read its IDs, or reads them without opening where it may not.
bool listUnits(std::vector<ListedUnit>& units);
