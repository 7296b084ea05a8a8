// The firmware image travels inside the executable, placed there by the assembler.
#include "platform/platform.h"

extern "C" const std::uint8_t firmwareImageStart[];
extern "C" const std::uint8_t firmwareImageEnd[];

bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length) {
    data = firmwareImageStart;
    length = static_cast<std::size_t>(firmwareImageEnd - firmwareImageStart);
    return length != 0;
}
