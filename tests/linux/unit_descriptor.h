// The programming unit's report descriptor: vendor-defined page, output report 1 and input
// report 2 of 59 data bytes each.
#pragma once

#include <cstdint>
#include <vector>

inline const std::vector<std::uint8_t> kUnitDescriptor = {
    0x06, 0x00, 0xFF, // Usage Page (vendor 0xFF00)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (Application)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x85, 0x01,       //   Report ID (1)
    0x95, 0x3B,       //   Report Count (59)
    0x09, 0x01,       //   Usage (1)
    0x91, 0x02,       //   Output (Data, Variable, Absolute)
    0x85, 0x02,       //   Report ID (2)
    0x95, 0x3B,       //   Report Count (59)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0xC0,             // End Collection
};
