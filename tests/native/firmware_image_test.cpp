#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "update/firmware_image.h"

#include <gtest/gtest.h>

static std::vector<ImageBlock> cut(const std::vector<std::uint8_t>& bytes, BlockCursor& cursor) {
    FirmwareImage image{bytes.data(), bytes.size()};
    startBlocks(cursor, image);
    std::vector<ImageBlock> blocks;
    ImageBlock block;
    while (nextBlock(cursor, block))
        blocks.push_back(block);
    return blocks;
}

TEST(FirmwareImage, ProductSizedImageEndsInAShortFilledBlock) {
    std::vector<std::uint8_t> bytes = standInImage();
    ASSERT_EQ(bytes.size(), 97792u);
    BlockCursor cursor;
    std::vector<ImageBlock> blocks = cut(bytes, cursor);
    ASSERT_EQ(blocks.size(), 2038u);
    EXPECT_EQ(blockCount(bytes.size()), 2038u);
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i) {
        ASSERT_EQ(blocks[i].wordCount, 12u);
        ASSERT_EQ(blocks[i].data, bytes.data() + 48 * i) << "blocks are the image itself, in order";
    }
    const ImageBlock& last = blocks.back();
    EXPECT_EQ(last.wordCount, 4u);
    EXPECT_TRUE(std::equal(last.data, last.data + 16, bytes.end() - 16));
    for (int i = 16; i < 48; ++i)
        EXPECT_EQ(last.data[i], 0xFF) << "byte " << i;
}

TEST(FirmwareImage, WholeBlocksNeedNoTail) {
    std::vector<std::uint8_t> bytes(96, 0x5A);
    BlockCursor cursor;
    std::vector<ImageBlock> blocks = cut(bytes, cursor);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].wordCount, 12u);
    EXPECT_EQ(blocks[1].data, bytes.data() + 48);

    std::vector<std::uint8_t> tiny(8, 1);
    blocks = cut(tiny, cursor);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].wordCount, 2u);
    EXPECT_EQ(blocks[0].data[8], 0xFF);
}

TEST(FirmwareImage, LoadRefusesImagesThatCannotBeSentWhole) {
    simReset();
    FirmwareImage image;
    EXPECT_FALSE(loadImage(image)) << "no image";
    simSetFirmwareImage(std::vector<std::uint8_t>(97790, 1));
    EXPECT_FALSE(loadImage(image)) << "not a whole number of words";
    simSetFirmwareImage(standInImage());
    ASSERT_TRUE(loadImage(image));
    EXPECT_EQ(image.length, 97792u);
}

TEST(FirmwareImage, StandInIsFixedAndNotTrivial) {
    std::vector<std::uint8_t> a = standInImage();
    EXPECT_EQ(a, standInImage());
    std::size_t ff = std::count(a.begin(), a.end(), 0xFF);
    EXPECT_LT(ff, a.size() / 64) << "an erased-looking image would hide write faults";
}
