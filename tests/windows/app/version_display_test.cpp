#include "tests/windows/app/dialog_harness.h"

using VersionDisplay = DialogTest;

TEST(VersionText, LongFormAndTheUnitsShift) {
    EXPECT_EQ(unitVersionText(0x00010203), L"2.3");
    EXPECT_EQ(unitVersionText(0x01020300), L"2.3") << "shifted to 0x00010203";
    EXPECT_EQ(unitVersionText(0x05000102), L"5.1.2");
    EXPECT_EQ(unitVersionText(0), L"0.0");
    EXPECT_EQ(longVersionForm(0x00000105), L"1.5");
    EXPECT_EQ(longVersionForm(0x01000502), L"1.5.2");
    EXPECT_EQ(longVersionForm(0x01020304), L"1.3.4") << "bits 16 to 23 never appear";
    EXPECT_EQ(longVersionForm(0), L"0.0");
    EXPECT_EQ(longVersionForm(0xFFFFFFFF), L"255.255.255");
    EXPECT_EQ(escVersionText(0x0300), L"3.0");
    EXPECT_EQ(escVersionText(0x0000), L"0.0");
    EXPECT_EQ(escVersionText(0x0A0B), L"10.11");
    EXPECT_EQ(escVersionText(0xFFFF), L"----------");
}

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
