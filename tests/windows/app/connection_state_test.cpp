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

TEST_F(ConnectionState, ArrivalOfTheUnitWhileWaiting) {
    start();
    simAddUnit(kUnitPath);
    EXPECT_EQ(arrive(kUnitPath), 1);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX");
}

TEST_F(ConnectionState, MouseArrivingChangesNothing) {
    start();
    const std::wstring before = hint();
    simAddDevice(L"\\\\?\\HID#VID_845E&PID_0001#mouse", 0x845E, 1);
    EXPECT_EQ(arrive(L"\\\\?\\HID#VID_845E&PID_0001#mouse"), 1);
    EXPECT_EQ(hint(), before);
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

TEST_F(ConnectionState, SecondUnitIsIgnoredInAndOut) {
    simAddUnit(kUnitPath);
    start();
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    const wchar_t* second = L"\\\\?\\HID#VID_1F4B&PID_0001#second";
    simAddUnit(second, dockpad);
    EXPECT_EQ(arrive(second), 1);
    EXPECT_EQ(session().unit().devicePath, kUnitPath);
    EXPECT_EQ(remove(second), 1);
    EXPECT_TRUE(unitOpen());
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY));
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX");
}

TEST_F(ConnectionState, RemovalMatchesThePathWhateverItsLetterCase) {
    int unit = simAddUnit(kUnitPath);
    start();
    simRemoveDevice(unit);
    std::wstring lower = kUnitPath;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(towlower(c));
    EXPECT_EQ(remove(lower), 1);
    EXPECT_FALSE(unitOpen());
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX") << "the label keeps the last product name";
}

TEST_F(ConnectionState, FailedIdentificationOnArrivalHoldsTheDeviceSilently) {
    start();
    const std::wstring waiting = hint();
    int unit = simAddUnit(kUnitPath);
    simAddFault(unit, {SimFaultKind::ReadFails, GET_INFO, 1});
    EXPECT_EQ(arrive(kUnitPath), 1);
    EXPECT_EQ(hint(), waiting);
    EXPECT_TRUE(unitOpen()) << "held";
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_UNIT_VERSION), L"0.0.0");

    // Further arrivals are ignored until the held device goes.
    simAddUnit(L"\\\\?\\HID#VID_1F4B&PID_0002#other");
    arrive(L"\\\\?\\HID#VID_1F4B&PID_0002#other");
    EXPECT_EQ(session().unit().devicePath, kUnitPath);
    simRemoveDevice(unit);
    remove(kUnitPath);
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
    arrive(L"\\\\?\\HID#VID_1F4B&PID_0002#other");
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY));
}

TEST_F(ConnectionState, NotificationsDuringTheIncompatibilityBoxWaitForIt) {
    int unit = simAddUnit(kUnitPath, withType(0x11111111));
    start();
    ASSERT_EQ(boxesSeen.size(), 1u);
    ASSERT_FALSE(unitOpen());

    // Replugged as a compatible controller while the next box is open: the newer state wins.
    simRemoveDevice(unit);
    int second = simAddUnit(kUnitPath, withType(0x22222222));
    const wchar_t* again = L"\\\\?\\HID#VID_1F4B&PID_0002#again";
    bool replugged = false;
    whileBoxOpen = [&](const SeenBox&) {
        if (replugged)
            return;
        replugged = true;
        simRemoveDevice(second);
        remove(kUnitPath);
        simAddUnit(again);
        arrive(again);
        EXPECT_FALSE(unitOpen()) << "not handled while the box is open";
    };
    arrive(kUnitPath);
    ASSERT_EQ(boxesSeen.size(), 2u);
    EXPECT_TRUE(unitOpen());
    EXPECT_EQ(session().unit().devicePath, again);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));
}
