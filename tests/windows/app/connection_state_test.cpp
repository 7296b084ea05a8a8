#include "tests/windows/app/dialog_harness.h"

using ConnectionState = DialogTest;

namespace {

SimUnitConfig withType(std::uint32_t typeCode) {
    SimUnitConfig config;
    config.typeCode = typeCode;
    return config;
}

} // namespace

TEST_F(ConnectionState, NothingConnectedAtStart) {
    start();
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_NO_UNIT));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    for (int field : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION}) {
        EXPECT_EQ(text(field), L"0.0.0");
        EXPECT_FALSE(enabled(field));
    }
    for (int label : {IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
        EXPECT_FALSE(enabled(label));
    EXPECT_EQ(text(IDC_UNIT_LABEL), loadIn(IDS_LABEL_UNIT));
    EXPECT_TRUE(boxesSeen.empty());
}

// Every outcome's hint, button and unit are the session's rule (tests/session); here the
// incompatibility box is a real one, owned by the dialog.
TEST_F(ConnectionState, IncompatibleControllerIsToldInARealBoxThenInTheHint) {
    simAddUnit(kUnitPath, withType(0x12345678u));
    start();
    ASSERT_EQ(boxesSeen.size(), 1u);
    std::wstring expected = loadIn(IDS_INCOMPATIBLE_MESSAGE);
    expected.replace(expected.find(L"%s"), 2, L"ORCA 75 LX");
    EXPECT_EQ(boxesSeen[0].text, expected);
    EXPECT_EQ(boxesSeen[0].caption, loadIn(IDS_INCOMPATIBLE_CAPTION));
    EXPECT_EQ(boxesSeen[0].owner, dialog);
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_INCOMPATIBLE));
    EXPECT_FALSE(enabled(IDC_UPDATE));
}

// What arrives and goes is the session's rule (tests/session); here the messages that
// carry it, with the removed interface's path as Windows writes it.
TEST_F(ConnectionState, ArrivalAndRemovalMessagesReachTheSession) {
    start();
    const int unit = simAddUnit(kUnitPath);
    EXPECT_EQ(arrive(kUnitPath), 1);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX");
    simRemoveDevice(unit);
    EXPECT_EQ(remove(kUnitPath), 1);
    EXPECT_FALSE(unitOpen());
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
    EXPECT_FALSE(enabled(IDC_UPDATE));
}

TEST_F(ConnectionState, OtherDeviceTypesAndEventsAreIgnored) {
    start();
    simAddUnit(kUnitPath);
    EXPECT_EQ(arrive(L"D:\\", 2 /* DBT_DEVTYP_VOLUME */), 1);
    EXPECT_FALSE(unitOpen());
    EXPECT_EQ(mainDialogProc(dialog, WM_DEVICECHANGE, 0x0007 /* DBT_DEVNODES_CHANGED */, 0), 0);
    EXPECT_FALSE(unitOpen());
}
