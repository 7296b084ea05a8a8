#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "update/firmware_image.h"
#include "update/sha256.h"

#include <gtest/gtest.h>

static std::vector<ImageBlock> cut(const std::vector<std::uint8_t>& bytes, BlockCursor& cursor) {
    FirmwareImage image;
    image.data = bytes.data();
    image.length = bytes.size();
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
    EXPECT_EQ(loadImage(image), ImageCheck::Missing) << "no image";
    simSetFirmwareImage(std::vector<std::uint8_t>(97790, 1));
    EXPECT_EQ(loadImage(image), ImageCheck::Missing) << "not a whole number of words";
    simSetFirmwareImage(standInImage());
    ASSERT_EQ(loadImage(image), ImageCheck::Intact);
    EXPECT_EQ(image.length, 97792u);
    EXPECT_EQ(image.sha256, sha256Hex(standInImage().data(), 97792));
}

TEST(FirmwareImage, AnyChangedBitAgainstTheBuildsDigestIsDamaged) {
    for (std::size_t at : {std::size_t{0}, std::size_t{48 * 1000 + 7}, std::size_t{97791}}) {
        simReset();
        simSetFirmwareImage(standInImage());
        simDamageFirmwareImage(at);
        FirmwareImage image;
        EXPECT_EQ(loadImage(image), ImageCheck::Damaged) << "byte " << at;
    }
}

// Known answers of FIPS 180-4's examples, and lengths around the padding's edges, checked
// against sha256sum.
TEST(FirmwareImage, Sha256KnownAnswers) {
    const auto hex = [](const std::string& text) {
        return sha256Hex(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(std::string(55, 'a')),
              "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(hex(std::string(56, 'a')),
              "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(hex(std::string(64, 'a')),
              "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
    EXPECT_EQ(hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(FirmwareImage, StandInIsFixedAndNotTrivial) {
    std::vector<std::uint8_t> a = standInImage();
    EXPECT_EQ(a, standInImage());
    std::size_t ff = std::count(a.begin(), a.end(), 0xFF);
    EXPECT_LT(ff, a.size() / 64) << "an erased-looking image would hide write faults";
}
