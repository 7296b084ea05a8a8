// Writes the binary resources of the executable from code, so that every build yields the
// same bytes: generate_resources image|logo|icon OUTPUT, icon-png|maskable-icon-png SIZE
// OUTPUT, or
// texts OUTPUT IDS STRINGS_EN STRINGS_DE DIALOG_EN DIALOG_DE.
#include "resources/generate/artwork.h"
#include "resources/generate/firmware_pattern.h"
#include "resources/generate/png.h"
#include "resources/generate/rc_tables.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// BITMAPINFOHEADER, uncompressed, no colour table.
void infoHeader(Bytes& out, int width, int height, int bits, std::uint32_t imageSize) {
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

// A 24-bit bottom-up device-independent bitmap file.
Bytes bitmapFile(const Canvas& canvas) {
    const std::uint32_t stride = (canvas.width * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * canvas.height;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + imageSize);
    put32(out, 0);
    put32(out, 14 + 40);
    infoHeader(out, canvas.width, canvas.height, 24, imageSize);
    for (int y = canvas.height - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Rgb& p = canvas.pixels[y * canvas.width + x];
            out.insert(out.end(), {p.b, p.g, p.r});
        }
        out.resize(out.size() + stride - canvas.width * 3, 0);
    }
    return out;
}

// One icon image: 32-bit colour with alpha, then the 1-bit mask.
Bytes iconImage(const Canvas& canvas) {
    const int n = canvas.width;
    const std::uint32_t maskStride = ((n + 31) / 32) * 4;
    Bytes out;
    infoHeader(out, n, 2 * n, 32, n * n * 4 + maskStride * n);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const Rgb& p = canvas.pixels[y * n + x];
            const auto a = static_cast<std::uint8_t>(std::lround(canvas.alpha[y * n + x] * 255));
            out.insert(out.end(), {p.b, p.g, p.r, a});
        }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if (canvas.alpha[y * n + x] * 255 < 0.5)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes iconFile(const std::vector<int>& sizes) {
    std::vector<Bytes> images;
    for (int size : sizes)
        images.push_back(iconImage(drawIcon(size)));
    Bytes out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(sizes.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i] % 256));
        out.push_back(static_cast<std::uint8_t>(sizes[i] % 256));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

bool writeFile(const char* path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const bool texts = what == "texts" && argc == 8;
    const bool maskable = what == "maskable-icon-png";
    const bool iconPng = (what == "icon-png" || maskable) && argc == 4;
    if (argc != 3 && !texts && !iconPng) {
        std::fprintf(stderr,
                     "usage: %s image|logo|logo-png|icon OUTPUT | icon-png|maskable-icon-png SIZE OUTPUT | texts "
                     "OUTPUT IDS STRINGS_EN STRINGS_DE DIALOG_EN DIALOG_DE\n",
                     argv[0]);
        return 2;
    }
    Bytes bytes;
    try {
        if (texts) {
            const std::string source =
                textTablesSource(argv[3], argv[4], argv[5], argv[6], argv[7]);
            bytes.assign(source.begin(), source.end());
        } else if (iconPng) {
            bytes = pngFile(drawIcon(std::stoi(argv[2]), maskable));
        } else if (what == "image") {
            bytes = standInImage();
        } else if (what == "logo") {
            bytes = bitmapFile(drawLogo());
        } else if (what == "logo-png") {
            bytes = pngFile(drawLogo());
        } else if (what == "icon") {
            bytes = iconFile({16, 32, 48, 64, 128});
        } else {
            std::fprintf(stderr, "unknown resource '%s'\n", argv[1]);
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const char* output = iconPng ? argv[3] : argv[2];
    if (!writeFile(output, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", output);
        return 1;
    }
    return 0;
}
