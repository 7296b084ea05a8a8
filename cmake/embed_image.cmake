# Writes the firmware image as a C++ array, for a target whose assembler cannot include
# a file (WebAssembly): cmake -DIMAGE=firmware.bin -DOUTPUT=image.cpp -P embed_image.cmake
file(READ "${IMAGE}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${IMAGE}.
#include <cstddef>
#include <cstdint>
extern const std::uint8_t kEmbeddedFirmwareImage[];
extern const std::size_t kEmbeddedFirmwareImageSize;
alignas(16) const std::uint8_t kEmbeddedFirmwareImage[] = {
${bytes}
};
const std::size_t kEmbeddedFirmwareImageSize = ${size};
")
