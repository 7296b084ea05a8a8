#include "tests/native/update_fixture.h"

struct FailureCase {
    const char* name;
    SimFault fault;
    unsigned text;
    std::int32_t code;
    std::uint32_t lastError;
    std::size_t requests; // what reached the unit, the failing request included
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class UpdateFailureTest : public UpdateTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(UpdateFailureTest, ReportsTheStepAndSendsNothingMore) {
    const FailureCase& c = GetParam();
    int unit = readyUnit();
    simAddFault(unit, c.fault);
    update();

    const FeedbackCall f = failure();
    EXPECT_EQ(f.text, textId(c.text));
    EXPECT_EQ(f.caption, textId(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(f.code, c.code);
    EXPECT_EQ(f.lastError, c.lastError);
    EXPECT_EQ(sent().size(), c.requests) << "no command after the failing one";
    EXPECT_TRUE(unitIsOpen(unitConnection)) << "closing the unit is the report's";
    EXPECT_TRUE(simLockHeld(unit) || c.text == IDS_FAIL_LOCK) << "the lock is not restored";
}

// A trace that disturbs the thread's last-error value at every event changes no failure,
// and sees every request that reached the unit.
TEST_P(UpdateFailureTest, IsReportedAlikeWhileTraced) {
    const FailureCase& c = GetParam();
    int unit = readyUnit();
    std::size_t traced = 0;
    const WireTrace trace = [&traced](const WireEvent& event) {
        traced += event.kind == WireEventKind::Sent;
        platformSetLastError(12345);
    };
    unitConnection.trace = &trace;
    simAddFault(unit, c.fault);
    update();

    const FeedbackCall f = failure();
    EXPECT_EQ(f.text, textId(c.text));
    EXPECT_EQ(f.code, c.code);
    EXPECT_EQ(f.lastError, c.lastError);
    EXPECT_EQ(sent().size(), c.requests);
    EXPECT_EQ(traced, c.requests);
}

constexpr std::uint32_t kGenFailure = 31;

INSTANTIATE_TEST_SUITE_P(
    EveryStep, UpdateFailureTest,
    ::testing::Values(
        FailureCase{"LockWrite",
                    {SimFaultKind::WriteFails, SYSTEM_LOCK, 1, 0, kGenFailure},
                    IDS_FAIL_LOCK,
                    -2,
                    kGenFailure,
                    0},
        FailureCase{"LockRead",
                    {SimFaultKind::ReadFails, SYSTEM_LOCK, 1, 0, 995},
                    IDS_FAIL_LOCK,
                    -3,
                    995,
                    1},
        FailureCase{
            "LockRefused", {SimFaultKind::LockRefused, SYSTEM_LOCK, 1}, IDS_FAIL_LOCK, 1627, 0, 1},
        FailureCase{"UnprotectUnitCode",
                    {SimFaultKind::StatusError, WRITE_PROTECT, 1, 0x55},
                    IDS_FAIL_WRITE_PROTECT,
                    0x55,
                    0,
                    2},
        FailureCase{"UnprotectNotConfirmed",
                    {SimFaultKind::PatchAnswer, WRITE_PROTECT, 1, 0, 0, 3, 0x01},
                    IDS_FAIL_WRITE_PROTECT,
                    1627,
                    0,
                    2},
        FailureCase{"UnprotectRead",
                    {SimFaultKind::ReadFails, WRITE_PROTECT, 1, 0, kGenFailure},
                    IDS_FAIL_WRITE_PROTECT,
                    -3,
                    kGenFailure,
                    2},
        FailureCase{
            "EraseUnitCode", {SimFaultKind::StatusError, ERASE, 1, 7}, IDS_FAIL_ERASE, 7, 0, 3},
        FailureCase{"EraseWrite",
                    {SimFaultKind::WriteFails, ERASE, 1, 0, kGenFailure},
                    IDS_FAIL_ERASE,
                    -2,
                    kGenFailure,
                    2},
        FailureCase{"AddressUnitCode",
                    {SimFaultKind::StatusError, SET_ADDRESS, 1, 0x1234},
                    IDS_FAIL_SET_ADDRESS,
                    0x1234,
                    0,
                    4},
        FailureCase{"AddressRead",
                    {SimFaultKind::ReadFails, SET_ADDRESS, 1, 0, kGenFailure},
                    IDS_FAIL_SET_ADDRESS,
                    -3,
                    kGenFailure,
                    4},
        FailureCase{"HundredthBlock",
                    {SimFaultKind::StatusError, WRITE_BLOCK, 100, 9},
                    IDS_FAIL_WRITE_BLOCK,
                    9,
                    0,
                    104},
        FailureCase{"BlockRead",
                    {SimFaultKind::ReadFails, WRITE_BLOCK, 100, 0, kGenFailure},
                    IDS_FAIL_WRITE_BLOCK,
                    -3,
                    kGenFailure,
                    104},
        FailureCase{"SilentUnit",
                    {SimFaultKind::NeverAnswers, WRITE_BLOCK, 7},
                    IDS_FAIL_WRITE_BLOCK,
                    -3,
                    kSimErrorTimeout,
                    11},
        FailureCase{"UnpluggedMidway",
                    {SimFaultKind::Unplug, WRITE_BLOCK, 50},
                    IDS_FAIL_WRITE_BLOCK,
                    -2,
                    kSimErrorNotConnected,
                    53}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(UpdateTest, EraseFailureIsShownOnlyAfterBothWaits) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::StatusError, ERASE, 1, 7});
    update();
    const FeedbackCall f = failure();
    EXPECT_EQ(f.code, 7);
    EXPECT_GE(f.at - sent().back().writtenAt, 1000u + 4000u);
}

TEST_F(UpdateTest, FailedBlockClosesTheProgressWindowFirst) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::StatusError, WRITE_BLOCK, 100, 9});
    update();
    std::vector<std::string> tail;
    for (auto it = feedback.calls.end() - 3; it != feedback.calls.end(); ++it)
        tail.push_back(it->what);
    EXPECT_EQ(tail, (std::vector<std::string>{"keepOnTop", "close", "failure"}));
    EXPECT_EQ(feedback.only("progress").size(), 99u);
}

TEST_F(UpdateTest, AddressAnsweredWithErrorStatusAndCodeZeroSucceeds) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::StatusError, SET_ADDRESS, 1, 0});
    update();
    EXPECT_EQ(feedback.only("success").size(), 1u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
}

TEST_F(UpdateTest, ClosingCommandsResultsAreNeverReported) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::ReadFails, WRITE_PROTECT, 2});
    simAddFault(unit, {SimFaultKind::StatusError, SYSTEM_LOCK, 2, 0x77});
    update();
    EXPECT_EQ(feedback.only("success").size(), 1u);
    EXPECT_TRUE(feedback.only("failure").empty());
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0x0300);
}

TEST_F(UpdateTest, FailingClosingWriteSkipsNothingElse) {
    int unit = readyUnit();
    simAddFault(unit, {SimFaultKind::WriteFails, WRITE_PROTECT, 2});
    update();
    EXPECT_EQ(sent().back().request, bytes({0x01, 0x0B, 0x01, 0x00})) << "the lock is released";
    EXPECT_EQ(feedback.only("success").size(), 1u);
}
