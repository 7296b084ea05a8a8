#include "tests/native/sim_fixture.h"

using IdentificationTest = SimTest;

static const wchar_t* kPath = L"\\\\?\\hid#vid_1f4b&pid_0002#7&1";

TEST_F(IdentificationTest, UpdatableControllerTakesThreeExchangesWithExactRequests) {
    SimUnitConfig config;
    config.escFirmwareVersion = 0x0205;
    config.typeCode = 0x0A06405A;
    config.bootloaderVersion = 0x01000502;
    config.unitFirmwareVersion = 0x01020300;
    config.unitIdentityWord = 0xCAFEF00D;
    config.escStateAux = 0x0102;
    int unit = simAddUnit(kPath, config);
    ASSERT_EQ(openUnit(unitConnection), 0);

    const auto& t = simTranscript();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].request, bytes({0x01, 0x08, 0x00}));
    EXPECT_EQ(t[1].request, bytes({0x01, 0x1D, 0x08, 0x00, 0x20, 0, 0, 0, 0xE0, 0xFF, 0xFF, 0xFF}));
    // READ_BOOT_INFO goes out in the buffer that took the READ_ESC_INFO answer.
    std::vector<std::uint8_t> boot = t[1].answer;
    boot[0] = 0x01;
    boot[1] = 0x22;
    EXPECT_EQ(t[2].request, boot);
    EXPECT_EQ(simProtocolViolations(unit), 0u);

    EXPECT_EQ(unitConnection.outputReportLength, 60u);
    EXPECT_EQ(unitConnection.inputReportLength, 60u);
    EXPECT_EQ(unitConnection.unitInBootloader, 0);
    EXPECT_EQ(unitConnection.escState, 3);
    EXPECT_EQ(unitConnection.escStateAux, 0x0102);
    EXPECT_EQ(unitConnection.unitFirmwareVersion, 0x01020300u);
    EXPECT_EQ(unitConnection.unitIdentityWord, 0xCAFEF00Du);
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0x0205);
    EXPECT_EQ(escTypeCode(unitConnection), 0x0A06405Au);
    EXPECT_EQ(escBootloaderVersion(unitConnection), 0x01000502u);
    EXPECT_EQ(unitConnection.productId, 2);
    EXPECT_EQ(unitConnection.devicePath, kPath);
}

TEST_F(IdentificationTest, UnitInItsOwnBootloaderTakesTwoExchanges) {
    SimUnitConfig config;
    config.unitInBootloader = true;
    config.unitFirmwareVersion = 0x00000107;
    simAddUnit(kPath, config);
    EXPECT_EQ(openUnit(unitConnection), 0);
    const auto& t = simTranscript();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].request, bytes({0x01, 0x0A, 0x0C, 0x00, 0x00, 0xFC, 0x01, 0x08}));
    EXPECT_NE(unitConnection.unitInBootloader, 0);
    EXPECT_EQ(unitConnection.escState, 0);
    EXPECT_EQ(unitConnection.unitFirmwareVersion, 0x00000107u);
    EXPECT_EQ(unitConnection.bootIdentity.at4, 0x11);
    EXPECT_EQ(unitConnection.bootIdentity.at5, 0x3322);
    EXPECT_EQ(unitConnection.bootIdentity.at7, 0x77665544u);
    EXPECT_EQ(unitConnection.bootIdentity.at11, 0xBBAA9988u);
    EXPECT_EQ(unitConnection.bootIdentity.at15, 0xCC);
}

TEST_F(IdentificationTest, NoUpdatableControllerStopsAfterGetInfo) {
    SimUnitConfig config;
    config.escState = 2;
    simAddUnit(kPath, config);
    EXPECT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(simTranscript().size(), 1u);
    EXPECT_EQ(unitConnection.escState, 2);
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0);
    EXPECT_EQ(escTypeCode(unitConnection), 0u);
}

TEST_F(IdentificationTest, UnitErrorsOfTheInformationRequests) {
    int unit = simAddUnit(kPath);
    simAddFault(unit, {SimFaultKind::StatusError, READ_ESC_INFO, 1, 0xABCD0000});
    EXPECT_EQ(openUnit(unitConnection), 0) << "code 0 in the low 16 bits goes on";
    EXPECT_EQ(simTranscript().size(), 3u);
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0) << "escInfo stays zero";
    EXPECT_EQ(escTypeCode(unitConnection), 0x1422605Au);

    simAddFault(unit, {SimFaultKind::StatusError, READ_ESC_INFO, 1, 0x00010006});
    EXPECT_EQ(openUnit(unitConnection), 6);

    simAddFault(unit, {SimFaultKind::StatusError, READ_BOOT_INFO, 1, 5});
    EXPECT_EQ(openUnit(unitConnection), 5);
    EXPECT_EQ(escTypeCode(unitConnection), 0u);
    EXPECT_TRUE(unitIsOpen(unitConnection)) << "the caller decides what to do with the unit";

    simAddFault(unit, {SimFaultKind::StatusError, READ_BOOT_INFO, 1, 0});
    EXPECT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(escTypeCode(unitConnection), 0u);
}

TEST_F(IdentificationTest, TransferFailuresAtEachStep) {
    int unit = simAddUnit(kPath);
    simAddFault(unit, {SimFaultKind::WriteFails, GET_INFO, 1});
    EXPECT_EQ(openUnit(unitConnection), kExchangeWriteFailed);
    simAddFault(unit, {SimFaultKind::ReadFails, READ_ESC_INFO, 1});
    EXPECT_EQ(openUnit(unitConnection), kExchangeReadFailed);
    simAddFault(unit, {SimFaultKind::WriteFails, READ_BOOT_INFO, 1});
    EXPECT_EQ(openUnit(unitConnection), kExchangeWriteFailed);
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0x0205) << "fields stored before stay";
}

TEST_F(IdentificationTest, RefusedBeforeAnythingIsSent) {
    int unit = simAddUnit(kPath);
    simSetCapabilitiesReadable(unit, false);
    EXPECT_EQ(openUnit(unitConnection), kExchangeRefused);
    EXPECT_TRUE(simTranscript().empty());

    simReset();
    SimUnitConfig config;
    config.outputReportLength = 51;
    simAddUnit(kPath, config);
    EXPECT_EQ(openUnit(unitConnection), kExchangeRefused);
    config.outputReportLength = 52;
    config.inputReportLength = 43;
    simAddUnit(kPath, config);
    EXPECT_EQ(openUnit(unitConnection), kExchangeRefused);
    EXPECT_TRUE(simTranscript().empty());

    closeUnit(unitConnection);
    EXPECT_EQ(identifyUnit(unitConnection), kExchangeRefused) << "no unit open";
}

TEST_F(IdentificationTest, ShortestUsableReportsIdentify) {
    SimUnitConfig config;
    config.outputReportLength = 52;
    config.inputReportLength = 44;
    config.bootloaderVersion = 0x01020304;
    int unit = simAddUnit(kPath, config);
    EXPECT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(escBootloaderVersion(unitConnection), 0x01020304u);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}
