#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <vector>

TEST(LinuxWait, NeverShorterThanAskedAndKeepsTheLastError) {
    for (std::uint32_t ms : {1u, 7u, 20u}) {
        errno = EPROTO;
        const auto start = std::chrono::steady_clock::now();
        platformWait(ms);
        const auto lasted = std::chrono::steady_clock::now() - start;
        EXPECT_GE(lasted, std::chrono::milliseconds(ms));
        EXPECT_EQ(errno, EPROTO);
    }
}

TEST(LinuxWait, UntilADeadlineCountedBeforeOtherWork) {
    errno = EPROTO;
    const auto start = std::chrono::steady_clock::now();
    const WaitDeadline deadline = platformDeadline(15);
    platformWait(4); // work done meanwhile
    platformWaitUntil(deadline);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(15));
    platformWaitUntil(deadline); // passed: returns
    EXPECT_EQ(errno, EPROTO);
}

TEST(LinuxImage, TheExecutableCarriesTheBuildsImage) {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    ASSERT_TRUE(platformFirmwareImage(data, length));
    std::ifstream file(EMBEDDED_IMAGE_FILE, std::ios::binary);
    const std::vector<std::uint8_t> expected{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(length, expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data));
}
