#include "tests/native/sim_fixture.h"

using ExchangeTest = SimTest;

TEST_F(ExchangeTest, ClosedConnectionRefusesWithoutWriting) {
    simAddUnit(L"unit");
    Report request = {0x01, GET_INFO};
    Report answer = {};
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeRefused);
    EXPECT_TRUE(simTranscript().empty());
}

TEST_F(ExchangeTest, TransferFailuresKeepTheSystemError) {
    struct Case {
        const char* name;
        SimFault fault;
        std::int32_t result;
        std::uint32_t lastError;
        std::uint64_t atLeastMs; // how long the exchange waited first
    };
    const Case cases[] = {
        {"write", {SimFaultKind::WriteFails, kAnyCommand, 0, 0, 31}, kExchangeWriteFailed, 31, 0},
        {"read", {SimFaultKind::ReadFails, kAnyCommand, 0, 0, 995}, kExchangeReadFailed, 995, 0},
        {"never answered",
         {SimFaultKind::NeverAnswers, GET_INFO, 1},
         kExchangeReadFailed,
         kSimErrorTimeout,
         kReportTimeoutMs},
        {"never taken",
         {SimFaultKind::NeverTaken, kAnyCommand, 0},
         kExchangeWriteFailed,
         kSimErrorTimeout,
         kReportTimeoutMs},
    };
    for (const Case& c : cases) {
        simReset();
        closeUnit(unitConnection);
        const int unit = openReadyUnit();
        simAddFault(unit, c.fault);
        Report request = {0x01, GET_INFO};
        Report answer = {};
        const std::uint64_t before = simNow();
        EXPECT_EQ(exchange(unitConnection, request, answer, 0), c.result) << c.name;
        EXPECT_EQ(platformLastError(), c.lastError) << c.name;
        EXPECT_GE(simNow() - before, c.atLeastMs) << c.name;
    }
}

TEST_F(ExchangeTest, AnswerDelayPassesBetweenWriteAndRead) {
    openReadyUnit();
    Report request = {0x01, GET_INFO};
    Report answer = {};
    ASSERT_EQ(exchange(unitConnection, request, answer, 1000), kExchangeOk);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].readAt - sent()[0].writtenAt, 1000u);
}

TEST_F(ExchangeTest, UnitErrorRules) {
    Report answer = {0x02, 0x00, 0, 0, 7, 0, 0, 0};
    EXPECT_EQ(unitError(answer), 0) << "a status other than 0xFF is success whatever follows";
    answer[1] = 0xFF;
    EXPECT_EQ(unitError(answer), 7);
    answer[4] = 0;
    EXPECT_EQ(unitError(answer), 0) << "status 0xFF with code 0 is success";
    answer[4] = 0x01;
    answer[5] = 0x02;
    answer[6] = 0x03;
    answer[7] = 0x84;
    EXPECT_EQ(unitError(answer), static_cast<std::int32_t>(0x84030201));
    EXPECT_EQ(unitError16(answer), 0x0201) << "only offsets 4 and 5";
    answer[1] = 0xFE;
    EXPECT_EQ(unitError16(answer), 0);
}

TEST_F(ExchangeTest, LongReportsAreZeroPaddedAndTruncatedOnReceipt) {
    SimUnitConfig config;
    config.outputReportLength = 65;
    config.inputReportLength = 64;
    openReadyUnit(config);
    Report request = {0x01, GET_INFO};
    Report answer = {};
    ASSERT_EQ(exchange(unitConnection, request, answer, 0), kExchangeOk);
    const SimExchange entry = sent().at(0);
    ASSERT_EQ(entry.request.size(), 65u);
    for (std::size_t i = 2; i < 65; ++i)
        EXPECT_EQ(entry.request[i], 0) << "byte " << i;
    EXPECT_EQ(entry.answer.size(), 64u);
    EXPECT_EQ(answer[0], 0x02);
    EXPECT_EQ(readU32(answer + 8), config.unitFirmwareVersion);
}

TEST_F(ExchangeTest, LateAnswerIsNeverTakenForTheNext) {
    const int unit = openReadyUnit();
    Report request = {0x01, GET_INFO};
    Report answer = {};
    // A slow answer that arrives after the bound is dropped, not read as the next answer.
    simChangeUnitConfig(unit, [](SimUnitConfig& c) { c.answerLatencyMs = 15000; });
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeReadFailed);
    simChangeUnitConfig(unit, [](SimUnitConfig& c) { c.answerLatencyMs = 0; });
    Report lock = {0x01, SYSTEM_LOCK, 0x01, 0x01};
    ASSERT_EQ(exchange(unitConnection, lock, answer, 0), kExchangeOk);
    EXPECT_EQ(answer[3], 0x01) << "the answer is the lock's, not a stale GET_INFO";
}

TEST_F(ExchangeTest, UnpluggedUnitFailsEveryLaterExchange) {
    int unit = openReadyUnit();
    simAddFault(unit, {SimFaultKind::Unplug, kAnyCommand, 2});
    Report request = {0x01, GET_INFO};
    Report answer = {};
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeOk);
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeWriteFailed);
    EXPECT_EQ(platformLastError(), kSimErrorNotConnected);
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeWriteFailed);
}
