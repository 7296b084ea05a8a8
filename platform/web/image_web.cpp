// The firmware image travels inside the WebAssembly module, as the bytes the build
// checked (generated beside this file's object).
#include "platform/platform.h"

extern const std::uint8_t kEmbeddedFirmwareImage[];
extern const std::size_t kEmbeddedFirmwareImageSize;

bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length) {
    data = kEmbeddedFirmwareImage;
    length = kEmbeddedFirmwareImageSize;
    return length != 0;
}
