#include "tests/windows/app/dialog_harness.h"

using VersionDisplay = DialogTest;

TEST_F(VersionDisplay, ShowsTheOpenUnitsVersionsAndName) {
    SimUnitConfig config;
    config.productId = 1;
    config.unitFirmwareVersion = 0x01020300;
    config.bootloaderVersion = 0x01000502;
    config.escFirmwareVersion = 0xFFFF;
    simAddUnit(kUnitPath, config);
    start();
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCKPAD");
    EXPECT_EQ(text(IDC_UNIT_VERSION), L"2.3");
    EXPECT_EQ(text(IDC_BOOTLOADER_VERSION), L"1.5.2");
    EXPECT_EQ(text(IDC_ESC_VERSION), L"----------");
    for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION, IDC_UNIT_LABEL,
                        IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
        EXPECT_TRUE(enabled(control)) << control;
}

TEST_F(VersionDisplay, PlaceholdersOfTheTemplateAreNeverLeft) {
    simAddUnit(kUnitPath);
    start();
    for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION})
        EXPECT_NE(text(control), L"0.00.00");
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX");
    EXPECT_EQ(text(IDC_ESC_VERSION), L"2.5");
    EXPECT_EQ(text(IDC_BOOTLOADER_VERSION), L"1.5");
}
