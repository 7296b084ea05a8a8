// The embedded firmware image and its division into WRITE_BLOCK blocks.
#pragma once

#include "unitlink/unit_connection.h"

#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t kImageBlockBytes = kWriteBlockBytes;
constexpr std::uint32_t kFullBlockWords = kImageBlockBytes / 4;

struct FirmwareImage {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    std::string sha256; // the digest the build took of it (lowercase hex)
};

// Missing: the executable carries no usable image: none, empty, or a length that is not
// a whole number of words (its last bytes could not be sent). Damaged: its bytes are not
// those the build took the digest of (or it has none), so it must never be written.
enum class ImageCheck { Intact, Missing, Damaged };
ImageCheck loadImage(FirmwareImage& image);

// One block: at most 48 bytes to send and the word count to announce for them.
struct ImageBlock {
    const std::uint8_t* data;
    std::uint32_t wordCount;
};

// Walks an image block by block. The short final block lives in the cursor's own
// 0xFF-filled tail buffer.
struct BlockCursor {
    const std::uint8_t* position;
    std::size_t remaining;
    std::uint8_t tail[kImageBlockBytes];
};

void startBlocks(BlockCursor& cursor, const FirmwareImage& image);
// False when no block is left.
bool nextBlock(BlockCursor& cursor, ImageBlock& block);
std::size_t blockCount(std::size_t imageLength);
