#include "update/firmware_image.h"

#include "platform/platform.h"
#include "update/sha256.h"

#include <cstring>

ImageCheck loadImage(FirmwareImage& image) {
    image = FirmwareImage{};
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    if (!platformFirmwareImage(data, length) || data == nullptr || length == 0 || length % 4 != 0)
        return ImageCheck::Missing;
    image.data = data;
    image.length = length;
    image.sha256 = platformFirmwareImageSha256();
    // A damaged download or disk sector would otherwise be written into every controller.
    if (image.sha256.empty() || sha256Hex(data, length) != image.sha256)
        return ImageCheck::Damaged;
    return ImageCheck::Intact;
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
