#include "platform/linux/report_descriptor.h"
#include "tests/linux/unit_descriptor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DescriptorCase {
    std::string name;
    std::vector<std::uint8_t> descriptor;
    bool parses;
    std::uint32_t output, input;
};

// Report ID, size and count items; a report of `bytes` bytes of the given main item.
std::vector<std::uint8_t> report(std::uint8_t id, std::uint8_t mainItem, std::uint16_t bytes) {
    std::vector<std::uint8_t> items = {0x75,
                                       0x08,
                                       0x96,
                                       static_cast<std::uint8_t>(bytes),
                                       static_cast<std::uint8_t>(bytes >> 8),
                                       0x09,
                                       0x01,
                                       mainItem,
                                       0x02};
    if (id != 0)
        items.insert(items.begin(), {0x85, id});
    return items;
}

std::vector<std::uint8_t> join(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    all.push_back(0xC0);
    return all;
}

constexpr std::uint8_t kIn = 0x81, kOut = 0x91, kFeature = 0xB1;

// A boot keyboard: unnumbered reports, 8 input bytes, 5 LED bits and 3 padding bits out.
const std::vector<std::uint8_t> kKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> d, std::size_t size) {
    d.resize(size);
    return d;
}

const DescriptorCase kCases[] = {
    {"TheUnit", kUnitDescriptor, true, 60, 60},
    {"SeveralIdsTheLongestCounts",
     join({report(1, kOut, 8), report(3, kOut, 20), report(2, kIn, 10), report(4, kIn, 32),
           report(5, kFeature, 200)}),
     true, 21, 33},
    {"ReportsLongerThanSixty", join({report(1, kOut, 63), report(2, kIn, 64)}), true, 64, 65},
    {"TwoMainItemsInOneReportAddUp", join({report(1, kIn, 10), report(1, kIn, 30)}), true, 0, 41},
    {"NoReportIdsReadsCarryNoIdByte", kKeyboard, true, 2, 8},
    {"LongItemIsSkipped",
     join({{0xFE, 0x03, 0x10, 0xAA, 0xBB, 0xCC}, report(1, kOut, 59), report(2, kIn, 59)}), true,
     60, 60},
    {"PushAndPopRestoreTheGlobals",
     join({{0x85, 0x02, 0x75, 0x08, 0x95, 0x10, 0xA4, 0x95, 0x30, 0x85, 0x01, 0x91, 0x02, 0xB4,
            0x81, 0x02}}),
     true, 49, 17},
    {"OddBitCountRoundsUp", join({{0x85, 0x02, 0x75, 0x01, 0x95, 0x0B, 0x81, 0x02}}), true, 0, 3},
    {"Empty", {}, true, 0, 0},
    {"TruncatedInAnItem", cut(kUnitDescriptor, 17), false, 0, 0},
    {"TruncatedInALongItem", join({{0xFE, 0x10, 0x10, 0xAA}}), false, 0, 0},
    {"PopWithoutPush", join({{0xB4}}), false, 0, 0},
    {"ReportIdZero", join({{0x85, 0x00}, report(0, kIn, 4)}), false, 0, 0},
    {"ReportSizeAboveTheKernels", join({{0x85, 0x01, 0x75, 0xFF, 0x76, 0x01, 0x01}}), false, 0, 0},
    {"ReportSize256", join({{0x85, 0x01, 0x76, 0x00, 0x01, 0x95, 0x02, 0x91, 0x02}}), true, 65, 0},
    {"ReportCountAboveTheKernels", join({{0x75, 0x01, 0x96, 0x01, 0x30, 0x81, 0x02}}), false, 0, 0},
    {"ReportCount12288", join({{0x75, 0x08, 0x96, 0x00, 0x30, 0x81, 0x02}}), true, 0, 12288},
    // 8,192 and 8,191 bytes: the kernel's 16 KiB buffer with the ID byte, and one more.
    {"LongestReportTheKernelTakes",
     join({{0x85, 0x01, 0x75, 0x08, 0x96, 0x00, 0x20, 0x91, 0x02, 0x96, 0xFF, 0x1F, 0x91, 0x02}}),
     true, 16384, 0},
    {"OneByteLonger",
     join({{0x85, 0x01, 0x75, 0x08, 0x96, 0x00, 0x20, 0x91, 0x02, 0x96, 0x00, 0x20, 0x91, 0x02}}),
     false, 0, 0},
    {"FeatureTooLongRefusesAll",
     join({report(1, kOut, 59), {0x75, 0x08, 0x96, 0x00, 0x30, 0xB1, 0x02, 0xB1, 0x02}}), false, 0,
     0},
    // Sums that would pass 2^64 with unbounded fields: refused at the first item too large.
    {"NoSumCanWrap",
     join({{0x85, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x91, 0x02,
            0x91, 0x02}}),
     false, 0, 0},
};

void PrintTo(const DescriptorCase& c, std::ostream* out) {
    *out << c.name;
}

class DescriptorTest : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(DescriptorTest, GivesTheWholeReportLengths) {
    const DescriptorCase& c = GetParam();
    std::uint32_t output = 0xDEAD, input = 0xBEEF;
    ASSERT_EQ(reportLengthsFromDescriptor(c.descriptor.data(), c.descriptor.size(), output, input),
              c.parses);
    if (!c.parses)
        return;
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(input, c.input);
}

INSTANTIATE_TEST_SUITE_P(Descriptors, DescriptorTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

} // namespace
