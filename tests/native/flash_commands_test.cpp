#include "tests/native/sim_fixture.h"

#include <functional>
#include <numeric>

class FlashCommandsTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        unit = openReadyUnit();
    }
    const std::vector<std::uint8_t>& onlyRequest() {
        all = sent();
        EXPECT_EQ(all.size(), 1u);
        return all.at(0).request;
    }
    void prepareFlash() {
        ASSERT_EQ(setSystemLock(unitConnection, true), 0);
        ASSERT_EQ(setWriteProtect(unitConnection, false), 0);
        ASSERT_EQ(erase(unitConnection), 0);
        ASSERT_EQ(setAddress(unitConnection), 0);
        transcriptStart = simTranscript().size();
    }
    int unit = 0;
    std::vector<SimExchange> all;
};

TEST_F(FlashCommandsTest, RequestBytes) {
    struct Case {
        const char* name;
        std::function<std::int32_t()> send;
        std::vector<std::uint8_t> request;
    };
    const Case cases[] = {
        {"lock", [this] { return setSystemLock(unitConnection, true); },
         bytes({0x01, 0x0B, 0x01, 0x01})},
        {"release", [this] { return setSystemLock(unitConnection, false); },
         bytes({0x01, 0x0B, 0x01, 0x00})},
        {"protect off", [this] { return setWriteProtect(unitConnection, false); },
         bytes({0x01, 0x20, 0x01, 0x00})},
        {"protect on", [this] { return setWriteProtect(unitConnection, true); },
         bytes({0x01, 0x20, 0x01, 0x01})},
        {"erase", [this] { return erase(unitConnection); },
         bytes({0x01, 0x1E, 0x04, 0x00, 0x91, 0x5C, 0x7E, 0x3A})},
        {"address", [this] { return setAddress(unitConnection); },
         bytes({0x01, 0x1F, 0x09, 0x01, 0, 0, 0, 0, 0x91, 0x5C, 0x7E, 0x3A})},
    };
    for (const Case& c : cases) {
        transcriptStart = simTranscript().size();
        c.send();
        EXPECT_EQ(onlyRequest(), c.request) << c.name;
    }
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}

TEST_F(FlashCommandsTest, WriteBlockCarriesFortyEightBytesWhateverItsCount) {
    std::uint8_t data[56];
    std::iota(data, data + 56, 1);
    prepareFlash();
    EXPECT_EQ(writeBlock(unitConnection, data, 4), 0);
    std::vector<std::uint8_t> expected = bytes({0x01, 0x1B, 16});
    std::copy(data, data + 48, expected.begin() + 4);
    EXPECT_EQ(onlyRequest(), expected) << "a short block carries its filler beyond the count";

    transcriptStart = simTranscript().size();
    EXPECT_EQ(writeBlock(unitConnection, data, 14), 0);
    expected = bytes({0x01, 0x1B, 56});
    std::copy(data, data + 56, expected.begin() + 4);
    EXPECT_EQ(onlyRequest(), expected);
}

TEST_F(FlashCommandsTest, WriteBlockRefusesWhatDoesNotFitAndAClosedUnit) {
    std::uint8_t data[60] = {};
    EXPECT_EQ(writeBlock(unitConnection, data, 15), kExchangeRefused);
    closeUnit(unitConnection);
    EXPECT_EQ(writeBlock(unitConnection, data, 12), kExchangeRefused);
    EXPECT_EQ(setSystemLock(unitConnection, true), kExchangeRefused);
    EXPECT_EQ(setWriteProtect(unitConnection, false), kExchangeRefused);
    EXPECT_EQ(erase(unitConnection), kExchangeRefused);
    EXPECT_EQ(setAddress(unitConnection), kExchangeRefused);
    EXPECT_TRUE(sent().empty());
}

TEST_F(FlashCommandsTest, EraseReadsItsAnswerOnlyASecondAfterTheRequest) {
    setSystemLock(unitConnection, true);
    setWriteProtect(unitConnection, false);
    EXPECT_EQ(erase(unitConnection), 0);
    const SimExchange entry = sent().back();
    EXPECT_EQ(entry.request[1], ERASE);
    EXPECT_GE(entry.readAt - entry.writtenAt, 1000u);
}

TEST_F(FlashCommandsTest, LockIsJudgedByItsGrantByteAlone) {
    simAddFault(unit, {SimFaultKind::StatusError, SYSTEM_LOCK, 1, 9});
    EXPECT_EQ(setSystemLock(unitConnection, true), 0) << "status 0xFF with byte 3 = 1";
    simAddFault(unit, {SimFaultKind::LockRefused, SYSTEM_LOCK, 1});
    EXPECT_EQ(setSystemLock(unitConnection, true), kAnswerNotConfirmed);
    simAddFault(unit, {SimFaultKind::StatusError, SYSTEM_LOCK, 1, 9});
    EXPECT_EQ(setSystemLock(unitConnection, false), 0) << "the release answer is ignored";
}

TEST_F(FlashCommandsTest, WriteProtectOffAnswerRules) {
    simAddFault(unit, {SimFaultKind::PatchAnswer, WRITE_PROTECT, 1, 0, 0, 3, 0x01});
    EXPECT_EQ(setWriteProtect(unitConnection, false), kAnswerNotConfirmed);

    SimFault error{SimFaultKind::StatusError, WRITE_PROTECT, 1, 0};
    simAddFault(unit, error);
    simAddFault(unit, {SimFaultKind::PatchAnswer, WRITE_PROTECT, 1, 0, 0, 3, 0x01});
    EXPECT_EQ(setWriteProtect(unitConnection, false), 0) << "status 0xFF, code 0: byte 3 is moot";

    simAddFault(unit, {SimFaultKind::StatusError, WRITE_PROTECT, 1, 0x1234});
    EXPECT_EQ(setWriteProtect(unitConnection, false), 0x1234);

    simAddFault(unit, {SimFaultKind::StatusError, WRITE_PROTECT, 1, 0x1234});
    EXPECT_EQ(setWriteProtect(unitConnection, true), 0) << "the answer to 'on' is ignored";
}

TEST_F(FlashCommandsTest, UnitErrorCommandsIgnoreCodeBytesWithoutErrorStatus) {
    simAddFault(unit, {SimFaultKind::PatchAnswer, SET_ADDRESS, 0, 0, 0, 4, 0x07});
    simAddFault(unit, {SimFaultKind::PatchAnswer, ERASE, 0, 0, 0, 4, 0x07});
    simAddFault(unit, {SimFaultKind::PatchAnswer, WRITE_BLOCK, 0, 0, 0, 4, 0x07});
    setSystemLock(unitConnection, true);
    setWriteProtect(unitConnection, false);
    EXPECT_EQ(erase(unitConnection), 0);
    EXPECT_EQ(setAddress(unitConnection), 0);
    std::uint8_t data[48] = {};
    EXPECT_EQ(writeBlock(unitConnection, data, 12), 0);

    simAddFault(unit, {SimFaultKind::StatusError, ERASE, 0, 7});
    simAddFault(unit, {SimFaultKind::StatusError, SET_ADDRESS, 0, 0});
    simAddFault(unit, {SimFaultKind::StatusError, WRITE_BLOCK, 0, 0x8000001F});
    EXPECT_EQ(erase(unitConnection), 7);
    EXPECT_EQ(setAddress(unitConnection), 0);
    EXPECT_EQ(writeBlock(unitConnection, data, 12), static_cast<std::int32_t>(0x8000001F));
}

TEST_F(FlashCommandsTest, BlocksLandInFlashInTheOrderSent) {
    prepareFlash();
    std::uint8_t first[48];
    std::uint8_t second[48];
    std::iota(first, first + 48, 0);
    std::iota(second, second + 48, 100);
    ASSERT_EQ(writeBlock(unitConnection, first, 12), 0);
    ASSERT_EQ(writeBlock(unitConnection, second, 2), 0);
    const std::vector<std::uint8_t>& flash = simFlash(unit);
    EXPECT_TRUE(std::equal(first, first + 48, flash.begin()));
    EXPECT_TRUE(std::equal(second, second + 8, flash.begin() + 48));
    EXPECT_EQ(flash[56], 0xFF) << "only the counted bytes are stored";
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}
