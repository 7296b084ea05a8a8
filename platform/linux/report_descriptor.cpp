#include "platform/linux/report_descriptor.h"

#include <map>
#include <vector>

namespace {

// Short item tags, with their type bits (main 0, global 1).
constexpr std::uint8_t kInput = 0x80;
constexpr std::uint8_t kOutput = 0x90;
constexpr std::uint8_t kFeature = 0xB0;
constexpr std::uint8_t kReportSize = 0x74;
constexpr std::uint8_t kReportId = 0x84;
constexpr std::uint8_t kReportCount = 0x94;
constexpr std::uint8_t kPush = 0xA4;
constexpr std::uint8_t kPop = 0xB4;
constexpr std::uint8_t kLongItem = 0xFE;

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Bits per report, by report ID.
struct Reports {
    std::map<std::uint32_t, std::uint64_t> input, output, feature;
};

// What the kernel's HID parser accepts: a field's size and count, and a report that fits
// its largest report buffer with the report ID byte. Every sum stays far below 2^64.
constexpr std::uint32_t kMostReportSizeBits = 256;
constexpr std::uint32_t kMostReportCount = 12288;
constexpr std::uint64_t kMostReportBits = (16384 - 1) * 8;

// Adds a main item's bits to its report; false when the report grows past the kernel's
// buffer.
bool add(std::map<std::uint32_t, std::uint64_t>& reports, std::uint32_t id, std::uint64_t bits) {
    std::uint64_t& total = reports[id];
    total += bits;
    return total <= kMostReportBits;
}

std::uint64_t longestBytes(const std::map<std::uint32_t, std::uint64_t>& bits) {
    std::uint64_t longest = 0;
    for (const auto& report : bits)
        if (report.second > longest)
            longest = report.second;
    return (longest + 7) / 8;
}

} // namespace

bool reportLengthsFromDescriptor(const std::uint8_t* descriptor, std::size_t size,
                                 std::uint32_t& outputLength, std::uint32_t& inputLength) {
    Globals globals;
    std::vector<Globals> stack;
    Reports reports;
    bool numbered = false;

    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t prefix = descriptor[at];
        if (prefix == kLongItem) {
            if (at + 1 >= size)
                return false;
            at += 3 + descriptor[at + 1];
            if (at > size)
                return false;
            continue;
        }
        const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (at + 1 + dataSize > size)
            return false;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= static_cast<std::uint32_t>(descriptor[at + 1 + i]) << (8 * i);
        at += 1 + dataSize;

        const std::uint64_t bits =
            static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
        switch (prefix & 0xFC) {
        case kInput:
            if (!add(reports.input, globals.reportId, bits))
                return false;
            break;
        case kOutput:
            if (!add(reports.output, globals.reportId, bits))
                return false;
            break;
        case kFeature:
            // Feature reports travel by ioctl, never by write() or read(), but the kernel
            // refuses the whole descriptor for one that is too long.
            if (!add(reports.feature, globals.reportId, bits))
                return false;
            break;
        case kReportSize:
            if (value > kMostReportSizeBits)
                return false;
            globals.reportSize = value;
            break;
        case kReportCount:
            if (value > kMostReportCount)
                return false;
            globals.reportCount = value;
            break;
        case kReportId:
            if (value == 0 || value > 255)
                return false;
            globals.reportId = value;
            numbered = true;
            break;
        case kPush:
            stack.push_back(globals);
            break;
        case kPop:
            if (stack.empty())
                return false;
            globals = stack.back();
            stack.pop_back();
            break;
        default:
            break;
        }
    }

    const std::uint64_t output = longestBytes(reports.output);
    const std::uint64_t input = longestBytes(reports.input);
    outputLength = output == 0 ? 0 : static_cast<std::uint32_t>(output + 1);
    inputLength = input == 0 ? 0 : static_cast<std::uint32_t>(input + (numbered ? 1 : 0));
    return true;
}
