// SHA-256 (FIPS 180-4), for checking the embedded image against the digest its build took.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using Sha256 = std::array<std::uint8_t, 32>;

Sha256 sha256(const std::uint8_t* data, std::size_t length);
// 64 lowercase hexadecimal digits, as sha256sum prints them.
std::string sha256Hex(const std::uint8_t* data, std::size_t length);
