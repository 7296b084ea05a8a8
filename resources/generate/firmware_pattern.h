// The stand-in firmware image: a fixed pseudo-random block of the product image's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t kStandInImageBytes = 97792;

inline std::vector<std::uint8_t> standInImage(std::size_t length = kStandInImageBytes) {
    std::vector<std::uint8_t> image(length);
    std::uint32_t state = 0x4F524341; // xorshift32, fixed seed
    for (std::uint8_t& byte : image) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return image;
}
