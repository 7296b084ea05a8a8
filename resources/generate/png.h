// A minimal PNG writer: 8-bit RGBA, stored (uncompressed) deflate blocks. The icon's files
// are small, and a build needs no compression library for them.
#pragma once

#include "resources/generate/raster.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

inline std::uint32_t pngCrc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void pngPut32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void pngChunk(std::vector<std::uint8_t>& out, const char* type,
                     const std::vector<std::uint8_t>& data) {
    pngPut32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    pngPut32(out, pngCrc(body.data(), body.size()));
}

inline std::vector<std::uint8_t> pngFile(const Canvas& canvas) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < canvas.height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < canvas.width; ++x) {
            const Rgb& p = canvas.pixels[y * canvas.width + x];
            const auto a =
                static_cast<std::uint8_t>(std::lround(canvas.alpha[y * canvas.width + x] * 255));
            raw.insert(raw.end(), {p.r, p.g, p.b, a});
        }
    }
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        zlib.push_back(at + n >= raw.size() ? 1 : 0);
        zlib.insert(zlib.end(),
                    {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                     static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at),
                    raw.begin() + static_cast<long>(at + n));
        if (n == 0)
            break;
    }
    pngPut32(zlib, (b << 16) | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    pngPut32(header, static_cast<std::uint32_t>(canvas.width));
    pngPut32(header, static_cast<std::uint32_t>(canvas.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA
    pngChunk(out, "IHDR", header);
    pngChunk(out, "IDAT", zlib);
    pngChunk(out, "IEND", {});
    return out;
}
