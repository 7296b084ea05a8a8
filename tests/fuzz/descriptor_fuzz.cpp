// The report-descriptor parser under arbitrary descriptors: it never reads past the
// descriptor (the sanitizers watch), and what it accepts, the kernel could have given.
#include "platform/linux/report_descriptor.h"

#include <cstdio>
#include <cstdlib>

namespace {

void breach(const char* what) {
    std::fprintf(stderr, "breach: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t output = 0xDEADBEEF;
    std::uint32_t input = 0xDEADBEEF;
    if (!reportLengthsFromDescriptor(data, size, output, input))
        return 0;
    // 16 KiB: the kernel's largest report buffer, report ID byte included.
    if (output > 16384 || input > 16384)
        breach("a report longer than any hidraw node carries");
    if (output == 1)
        breach("an output report of its ID byte alone");
    return 0;
}
