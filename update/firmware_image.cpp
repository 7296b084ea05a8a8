#include "update/firmware_image.h"

#include "platform/platform.h"

#include <cstring>

bool loadImage(FirmwareImage& image) {
    image = FirmwareImage{};
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    if (!platformFirmwareImage(data, length) || data == nullptr || length == 0 || length % 4 != 0)
        return false;
    image.data = data;
    image.length = length;
    return true;
}

void startBlocks(BlockCursor& cursor, const FirmwareImage& image) {
    cursor.position = image.data;
    cursor.remaining = image.length;
}

bool nextBlock(BlockCursor& cursor, ImageBlock& block) {
    if (cursor.remaining == 0)
        return false;
    if (cursor.remaining >= kImageBlockBytes) {
        block = {cursor.position, kFullBlockWords};
        cursor.position += kImageBlockBytes;
        cursor.remaining -= kImageBlockBytes;
        return true;
    }
    std::memset(cursor.tail, 0xFF, sizeof cursor.tail);
    std::memcpy(cursor.tail, cursor.position, cursor.remaining);
    block = {cursor.tail, static_cast<std::uint32_t>(cursor.remaining / 4)};
    cursor.remaining = 0;
    return true;
}

std::size_t blockCount(std::size_t imageLength) {
    return (imageLength + kImageBlockBytes - 1) / kImageBlockBytes;
}
