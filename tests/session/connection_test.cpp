#include "tests/session/session_fixture.h"

#include <cwctype>

using Connection = SessionTest;

struct OutcomeCase {
    const char* name;
    bool bootloader;
    std::uint16_t escState;
    std::uint32_t typeCode;
    bool present;
    ConnectionOutcome outcome;
    unsigned hintText;
};

void PrintTo(const OutcomeCase& c, std::ostream* out) {
    *out << c.name;
}

class OutcomeTest : public SessionTest,
                    public ::testing::WithParamInterface<std::tuple<OutcomeCase, bool>> {
  protected:
    OutcomeTest() : SessionTest(std::get<1>(GetParam()) ? Language::German : Language::English) {}
};

TEST_P(OutcomeTest, HintButtonUnitAndVersionsInEitherLanguage) {
    const OutcomeCase& c = std::get<0>(GetParam());
    SimUnitConfig config;
    config.unitInBootloader = c.bootloader;
    config.escState = c.escState;
    config.typeCode = c.typeCode;
    if (c.present)
        plugUnit(config);
    ASSERT_TRUE(session.start(true));

    const bool ready = c.outcome == ConnectionOutcome::ReadyToUpdate;
    EXPECT_EQ(window.hint, ready ? textOf(c.hintText) : instructionsAfter(c.hintText));
    EXPECT_EQ(enabled(IDC_UPDATE), ready);
    EXPECT_EQ(unitOpen(), ready);
    EXPECT_EQ(simOpenHandles(), ready ? 1u : 0u);
    EXPECT_EQ(text(IDC_UNIT_VERSION), ready ? L"2.3" : L"0.0.0");
    for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION, IDC_UNIT_LABEL,
                        IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
        EXPECT_EQ(enabled(control), ready) << control;
    if (c.outcome != ConnectionOutcome::EscIncompatible) {
        EXPECT_TRUE(window.boxes.empty());
        return;
    }
    ASSERT_EQ(window.boxes.size(), 1u);
    std::wstring message = textOf(IDS_INCOMPATIBLE_MESSAGE);
    message.replace(message.find(L"%s"), 2, L"ORCA 75 LX");
    EXPECT_EQ(window.boxes[0].text, message);
    EXPECT_EQ(window.boxes[0].caption, textOf(IDS_INCOMPATIBLE_CAPTION));
    EXPECT_EQ(window.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(window.boxes[0].buttons, MessageButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutcome, OutcomeTest,
    ::testing::Combine(
        ::testing::Values(OutcomeCase{"NoUnit", false, 3, 0x1422605A, false,
                                      ConnectionOutcome::NoUnit, IDS_HINT_NO_UNIT},
                          OutcomeCase{"WrongMode", true, 3, 0x1422605A, true,
                                      ConnectionOutcome::UnitWrongMode, IDS_HINT_WRONG_MODE},
                          OutcomeCase{"NoUpdatableEsc", false, 2, 0x1422605A, true,
                                      ConnectionOutcome::NoUpdatableEsc, IDS_HINT_NO_UPDATABLE_ESC},
                          OutcomeCase{"Incompatible", false, 3, 0x12345678, true,
                                      ConnectionOutcome::EscIncompatible, IDS_HINT_INCOMPATIBLE},
                          OutcomeCase{"TypeCodeZero", false, 3, 0, true,
                                      ConnectionOutcome::EscIncompatible, IDS_HINT_INCOMPATIBLE},
                          OutcomeCase{"Ready", false, 3, 0x1422605A, true,
                                      ConnectionOutcome::ReadyToUpdate, IDS_HINT_READY},
                          OutcomeCase{"ReadyOtherType", false, 3, 0x0A06405A, true,
                                      ConnectionOutcome::ReadyToUpdate, IDS_HINT_READY}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<OutcomeCase, bool>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "German" : "English");
    });

TEST(ConnectionInGerman, StartTitlesAndLabelsTheWindow) {
    simReset();
    RecordingWindow window;
    Session german{window, Language::German};
    window.attach(german);
    ASSERT_TRUE(german.start(true));
    EXPECT_EQ(window.title, L"NORVAX ORCA 75 LX FW Updater 3.0 ");
    EXPECT_EQ(window.texts[IDC_UNIT_LABEL], L"Programmiereinheit");
    EXPECT_EQ(window.texts[IDC_BOOTLOADER_LABEL], loadText(Language::German, IDS_LABEL_BOOTLOADER));
    EXPECT_EQ(window.texts[IDC_ESC_LABEL], loadText(Language::German, IDS_LABEL_ESC));
    EXPECT_EQ(window.endedWith, -1);
}

TEST_F(Connection, WithoutHotPlugTheProgramSaysSoAndEndsWithoutTouchingTheUnit) {
    plugUnit();
    EXPECT_FALSE(session.start(false));
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, textOf(IDS_REGISTRATION_FAILED));
    EXPECT_EQ(window.boxes[0].caption, textOf(IDS_REGISTRATION_FAILED_CAPTION));
    EXPECT_EQ(window.boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(window.endedWith, kEndHotPlugUnavailable);
    EXPECT_FALSE(unitOpen());
    EXPECT_TRUE(simTranscript().empty()) << "nothing was sent";
}

TEST_F(Connection, CloseStopsNotificationsReleasesTheUnitAndEnds) {
    plugUnit();
    session.start(true);
    ASSERT_TRUE(unitOpen());
    EXPECT_TRUE(session.close());
    EXPECT_TRUE(window.deviceChangesStopped);
    EXPECT_EQ(simOpenHandles(), 0u);
    EXPECT_EQ(window.endedWith, kEndClosed);
}

// A removal names the unit as the platform spells paths: Windows' interface paths in any
// letter case, Linux's nodes exactly.
TEST_F(Connection, RemovalNamesTheUnitAsThePlatformComparesPaths) {
    const wchar_t* windowsPath = L"\\\\?\\hid#vid_1f4b&pid_0002#7&2b3c&0&0000#{4d1e55b2}";
    plugUnit({}, windowsPath);
    session.start(true);
    session.deviceChanged(DeviceChange::Removal,
                          L"\\\\?\\HID#VID_1F4B&PID_0002#7&2B3C&0&0000#{4D1E55B2}");
    EXPECT_FALSE(unitOpen());
    EXPECT_EQ(window.hint, instructionsAfter(IDS_HINT_CONNECTION_LOST));

    simReset();
    plugUnit();
    session.connect({});
    ASSERT_TRUE(unitOpen());
    session.deviceChanged(DeviceChange::Removal, L"/DEV/HIDRAW3");
    EXPECT_TRUE(unitOpen()) << "another node";
    EXPECT_EQ(window.view.outcome, ConnectionOutcome::ReadyToUpdate);
}

TEST_F(Connection, ProductLabelFollowsTheUnitAndStaysAfterRemoval) {
    SimUnitConfig dockpad;
    dockpad.productId = kProductDockpad;
    const int unit = plugUnit(dockpad);
    session.start(true);
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCKPAD");
    simRemoveDevice(unit);
    session.deviceChanged(DeviceChange::Removal, kUnitPath);
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCKPAD") << "the label keeps the last product name";
    plugUnit({}, L"/dev/hidraw4");
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCK-BOX");
}

TEST_F(Connection, ArrivalOpensRemovalOfThatPathInAnyCaseCloses) {
    const wchar_t* path = L"\\\\?\\HID#VID_1F4B&PID_0002#7&2b3c";
    session.start(true);
    const int unit = plugUnit({}, path);
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));

    std::wstring lower = path;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    simRemoveDevice(unit);
    session.deviceChanged(DeviceChange::Removal, lower);
    EXPECT_FALSE(unitOpen());
    EXPECT_EQ(window.hint, instructionsAfter(IDS_HINT_CONNECTION_LOST));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
}

TEST_F(Connection, OtherDevicesAndASecondUnitChangeNothing) {
    plugUnit();
    session.start(true);
    simAddDevice(L"/dev/hidraw0", 0x845E, 1);
    plugUnit({}, L"/dev/hidraw5");
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(session.view().device, kUnitPath);
    session.deviceChanged(DeviceChange::Removal, L"/dev/hidraw5");
    session.deviceChanged(DeviceChange::Removal, L"/dev/hidraw0");
    EXPECT_TRUE(unitOpen());
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY));
}

TEST_F(Connection, MouseArrivingWhileWaitingChangesNothing) {
    session.start(true);
    const std::size_t drawn = window.views.size();
    simAddDevice(L"/dev/hidraw0", 0x845E, 1);
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(window.views.size(), drawn) << "nothing drawn again";
    EXPECT_EQ(window.view.outcome, ConnectionOutcome::NoUnit);
}

TEST_F(Connection, FailedIdentificationOnArrivalHoldsTheDeviceSilentlyUntilItGoes) {
    session.start(true);
    const std::wstring waiting = window.hint;
    const int unit = plugUnit();
    simAddFault(unit, {SimFaultKind::ReadFails, GET_INFO, 1});
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(window.hint, waiting);
    EXPECT_EQ(simOpenHandles(), 1u) << "held";
    EXPECT_FALSE(enabled(IDC_UPDATE));

    plugUnit({}, L"/dev/hidraw6");
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(simOpenHandles(), 1u) << "ignored while one is held";
    EXPECT_EQ(window.hint, waiting);
    simRemoveDevice(unit);
    session.deviceChanged(DeviceChange::Removal, kUnitPath);
    EXPECT_EQ(window.hint, instructionsAfter(IDS_HINT_CONNECTION_LOST));
    session.deviceChanged(DeviceChange::Arrival, {});
    EXPECT_EQ(session.view().device, L"/dev/hidraw6");
}

TEST_F(Connection, NotificationsDuringABoxWaitAndAreHandledInOrder) {
    SimUnitConfig incompatible;
    incompatible.typeCode = 0x11111111;
    const int first = plugUnit(incompatible);
    session.start(true);
    ASSERT_EQ(window.boxes.size(), 1u);

    // Plugged in again as an incompatible controller; while its box is open it is pulled
    // and a compatible one arrives: the newer state wins, after the box.
    simRemoveDevice(first);
    const int second = plugUnit(incompatible, L"/dev/hidraw7");
    window.whileBoxOpen = [&](const SeenBox&) {
        window.whileBoxOpen = nullptr;
        simRemoveDevice(second);
        session.deviceChanged(DeviceChange::Removal, L"/dev/hidraw7");
        plugUnit({}, L"/dev/hidraw8");
        session.deviceChanged(DeviceChange::Arrival, {});
        EXPECT_FALSE(unitOpen()) << "not handled while the box is open";
    };
    session.deviceChanged(DeviceChange::Arrival, {});
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(session.view().device, L"/dev/hidraw8");
    EXPECT_EQ(window.hint, textOf(IDS_HINT_READY));
    EXPECT_TRUE(enabled(IDC_UPDATE));
}
