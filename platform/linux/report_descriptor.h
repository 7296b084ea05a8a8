// Report lengths from a HID report descriptor, for a platform without HID capability
// queries.
#pragma once

#include <cstddef>
#include <cstdint>

// The byte lengths that one write() and one read() of a whole report carry on a hidraw
// node, as Windows counts them: the longest output and input report, plus the report ID
// byte. hidraw takes that byte first on every write (0 for a device without numbered
// reports) but delivers it on reads only when the device numbers its reports.
// False for a descriptor that is truncated or malformed (Pop without Push, report ID 0,
// an item after a truncated one), and for what the kernel refuses: a report size above
// 256 bits, a report count above 12,288, a report longer than 16 KiB with its ID byte.
bool reportLengthsFromDescriptor(const std::uint8_t* descriptor, std::size_t size,
                                 std::uint32_t& outputLength, std::uint32_t& inputLength);
