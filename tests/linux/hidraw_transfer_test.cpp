// The Linux transfers on a SOCK_SEQPACKET socket pair: like a hidraw node it keeps report
// boundaries and can be polled, so the time-out and vanished-device paths run for real.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Long enough that a transfer which waited for it instead of failing at once would hit
// the test's own time-out.
constexpr std::uint32_t kNeverMs = 10 * 60 * 1000;
constexpr std::uint32_t kShortMs = 30;

class TransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends), 0);
        device = ends[0];
        unit = ends[1];
    }
    void TearDown() override {
        close(static_cast<int>(device));
        if (unit >= 0)
            close(unit);
    }

    void unitSends(std::vector<std::uint8_t> report) {
        ASSERT_EQ(send(unit, report.data(), report.size(), 0), static_cast<ssize_t>(report.size()));
    }

    void fillUnitsQueue() {
        std::vector<std::uint8_t> filler(60, 0xEE);
        while (send(static_cast<int>(device), filler.data(), filler.size(), 0) > 0) {
        }
        ASSERT_EQ(errno, EAGAIN);
    }

    DeviceHandle device = kNoDevice;
    int unit = -1;
};

TEST_F(TransferTest, WholeReportsBothWays) {
    std::vector<std::uint8_t> request(60, 0);
    request[0] = 0x01;
    request[1] = 0x08;
    ASSERT_TRUE(platformWriteReport(device, request.data(), request.size(), kShortMs));
    std::uint8_t received[128];
    ASSERT_EQ(recv(unit, received, sizeof received, 0), 60);
    EXPECT_EQ(received[1], 0x08);

    std::vector<std::uint8_t> answer(60, 0x5A);
    answer[0] = 0x02;
    unitSends(answer);
    std::vector<std::uint8_t> got(60, 0);
    ASSERT_TRUE(platformReadReport(device, got.data(), got.size(), kShortMs));
    EXPECT_EQ(got, answer);
}

TEST_F(TransferTest, ShortReportIsPaddedWithZeros) {
    unitSends({0x02, 0x00, 0x00, 0x07});
    std::vector<std::uint8_t> got(60, 0xCC);
    ASSERT_TRUE(platformReadReport(device, got.data(), got.size(), kShortMs));
    EXPECT_EQ(got[3], 0x07);
    for (std::size_t i = 4; i < got.size(); ++i)
        ASSERT_EQ(got[i], 0) << "byte " << i;
}

TEST_F(TransferTest, SilentUnitTimesOut) {
    std::vector<std::uint8_t> got(60, 0);
    errno = 0;
    EXPECT_FALSE(platformReadReport(device, got.data(), got.size(), kShortMs));
    EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(ETIMEDOUT));
}

TEST_F(TransferTest, WriteNeverTakenTimesOutAndDropsWaitingInput) {
    unitSends(std::vector<std::uint8_t>(60, 0x02)); // a stale answer already waiting
    fillUnitsQueue();
    std::vector<std::uint8_t> request(60, 0x01);
    EXPECT_FALSE(platformWriteReport(device, request.data(), request.size(), kShortMs));
    EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(ETIMEDOUT));

    std::vector<std::uint8_t> got(60, 0);
    EXPECT_FALSE(platformReadReport(device, got.data(), got.size(), kShortMs))
        << "the stale answer must not be taken for the next request's";
    EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(ETIMEDOUT));
}

TEST_F(TransferTest, VanishedUnitFailsAtOnce) {
    close(unit);
    unit = -1;
    std::vector<std::uint8_t> report(60, 0x01);
    EXPECT_FALSE(platformReadReport(device, report.data(), report.size(), kNeverMs));
    EXPECT_NE(platformLastError(), static_cast<std::uint32_t>(ETIMEDOUT));
    EXPECT_FALSE(platformWriteReport(device, report.data(), report.size(), kNeverMs));
    EXPECT_NE(platformLastError(), static_cast<std::uint32_t>(ETIMEDOUT));
}

TEST_F(TransferTest, FlushDropsQueuedReportsAndKeepsTheLastError) {
    unitSends({0x02, 0x01});
    unitSends({0x02, 0x02});
    errno = EPROTO;
    platformFlushInput(device);
    EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(EPROTO));
    std::vector<std::uint8_t> got(60, 0);
    EXPECT_FALSE(platformReadReport(device, got.data(), got.size(), kShortMs));

    unitSends({0x02, 0x03});
    ASSERT_TRUE(platformReadReport(device, got.data(), got.size(), kShortMs));
    EXPECT_EQ(got[1], 0x03);
}

} // namespace
