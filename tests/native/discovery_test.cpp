#include "tests/native/sim_fixture.h"

using DiscoveryTest = SimTest;

TEST_F(DiscoveryTest, NothingPresentOrNoListAvailable) {
    EXPECT_EQ(openUnit(unitConnection), kNoUnitFound);
    simSetListAvailable(false);
    simAddUnit(L"unit");
    EXPECT_EQ(openUnit(unitConnection), kExchangeRefused);
    EXPECT_FALSE(unitIsOpen(unitConnection));
}

TEST_F(DiscoveryTest, SkipsWhatIsNotAUnitAndClosesItAgain) {
    simAddDevice(L"mouse", 0x845E, 0x0001);
    simAddDevice(L"sibling", 0x1F4B, 3);
    int locked = simAddUnit(L"locked");
    simSetOpenable(locked, false);
    int mute = simAddUnit(L"mute");
    simSetAttributesReadable(mute, false);
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    simAddUnit(L"dockpad", dockpad);
    simAddUnit(L"dockbox");

    EXPECT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(unitConnection.devicePath, L"dockpad") << "the first unit in enumeration wins";
    EXPECT_EQ(unitConnection.productId, 1);
    EXPECT_EQ(simOpenHandles(), 1u) << "every skipped device was closed";
}

TEST_F(DiscoveryTest, ReopeningClosesTheOldHandleFirst) {
    simAddUnit(L"first");
    ASSERT_EQ(openUnit(unitConnection), 0);
    DeviceHandle old = unitConnection.handle;
    ASSERT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(simOpenHandles(), 1u);
    EXPECT_NE(unitConnection.handle, old);

    simReset();
    EXPECT_EQ(openUnit(unitConnection), kNoUnitFound);
    EXPECT_FALSE(unitIsOpen(unitConnection));
    EXPECT_TRUE(unitConnection.devicePath.empty());
}

TEST_F(DiscoveryTest, FailedIdentificationLeavesTheDeviceOpen) {
    int unit = simAddUnit(L"unit");
    simAddFault(unit, {SimFaultKind::ReadFails, GET_INFO, 1});
    EXPECT_EQ(openUnit(unitConnection), kExchangeReadFailed);
    EXPECT_TRUE(unitIsOpen(unitConnection));
    EXPECT_EQ(unitConnection.devicePath, L"unit");
    EXPECT_EQ(simOpenHandles(), 1u);
}

TEST_F(DiscoveryTest, CloseEmptiesTheRecordAndIsHarmlessTwice) {
    SimUnitConfig config;
    config.unitFirmwareVersion = 0x05000102;
    simAddUnit(L"unit", config);
    ASSERT_EQ(openUnit(unitConnection), 0);
    closeUnit(unitConnection);
    closeUnit(unitConnection);
    EXPECT_EQ(simOpenHandles(), 0u);
    EXPECT_EQ(unitConnection.handle, kNoDevice);
    EXPECT_EQ(unitConnection.unitFirmwareVersion, 0u);
    EXPECT_EQ(unitConnection.outputReportLength, 0u);
    EXPECT_EQ(unitConnection.productId, 0);
    EXPECT_EQ(escTypeCode(unitConnection), 0u);
}

TEST_F(DiscoveryTest, StaleInputIsDroppedOnOpen) {
    simAddUnit(L"unit");
    ASSERT_EQ(openUnit(unitConnection), 0);
    // An answer nobody read: granted lock, byte 3 = 1, would pass for "unit in bootloader".
    Report request = {0x01, SYSTEM_LOCK, 0x01, 0x01};
    ASSERT_TRUE(platformWriteReport(unitConnection.handle, request, 60, 100));
    ASSERT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(unitConnection.unitInBootloader, 0);
    EXPECT_EQ(unitConnection.escState, 3);
}
