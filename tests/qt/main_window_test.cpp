#include "tests/qt/scripted_hotplug.h"
#include "tests/qt/window_harness.h"

#include "update/updater_profile.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

TEST_F(WindowTest, StartsWithNothingAttached) {
    start();
    EXPECT_EQ(dialog()->windowTitle().toStdWString(), L"NORVAX ORCA 75 LX FW Updater 3.0 ");
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_NO_UNIT));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    for (int field : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION}) {
        EXPECT_EQ(text(field), L"0.0.0");
        EXPECT_FALSE(enabled(field));
    }
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"programming unit");
    EXPECT_EQ(text(IDC_BOOTLOADER_LABEL), L"ESC-bootloader");
    EXPECT_EQ(text(IDC_ESC_LABEL), L"ESC");
    EXPECT_FALSE(enabled(IDC_UNIT_LABEL));
    EXPECT_TRUE(static_cast<QPushButton*>(control(IDC_CLOSE))->isDefault());
    EXPECT_TRUE(boxesSeen.empty());
}

struct OutcomeCase {
    const char* name;
    bool bootloader;
    std::uint16_t escState;
    std::uint32_t typeCode;
    unsigned hintText;
    bool ready;
};

void PrintTo(const OutcomeCase& c, std::ostream* out) {
    *out << c.name;
}

class OutcomeTest : public WindowTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(OutcomeTest, ShowsItsHintButtonAndUnit) {
    const OutcomeCase& c = GetParam();
    SimUnitConfig config;
    config.unitInBootloader = c.bootloader;
    config.escState = c.escState;
    config.typeCode = c.typeCode;
    plugUnit(config);
    start();
    EXPECT_EQ(hint(), c.ready ? textOf(c.hintText) : instructionsAfter(c.hintText));
    EXPECT_EQ(enabled(IDC_UPDATE), c.ready);
    EXPECT_EQ(!session().view().device.empty(), c.ready);
    EXPECT_EQ(text(IDC_UNIT_VERSION), c.ready ? L"2.3" : L"0.0.0");
    const bool incompatible = c.hintText == IDS_HINT_INCOMPATIBLE;
    ASSERT_EQ(boxesSeen.size(), incompatible ? 1u : 0u);
    if (incompatible) {
        EXPECT_EQ(boxesSeen[0].caption, textOf(IDS_INCOMPATIBLE_CAPTION));
        EXPECT_NE(boxesSeen[0].text.find(L"'ORCA 75 LX'"), std::wstring::npos);
        EXPECT_EQ(boxesSeen[0].icon, QMessageBox::Information);
        EXPECT_EQ(boxesSeen[0].buttons, QMessageBox::Ok);
    }
}

// Which outcome each unit has is the session's rule (tests/session); here the window draws
// one that closes the unit, one with a real box, and the ready one.
INSTANTIATE_TEST_SUITE_P(
    Outcomes, OutcomeTest,
    ::testing::Values(OutcomeCase{"WrongMode", true, 3, 0x1422605A, IDS_HINT_WRONG_MODE, false},
                      OutcomeCase{"Incompatible", false, 3, 0, IDS_HINT_INCOMPATIBLE, false},
                      OutcomeCase{"Ready", false, 3, 0x1422605A, IDS_HINT_READY, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ArrivalAndRemovalRedrawTheRows) {
    start();
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    plugUnit(dockpad);
    session().deviceChanged(DeviceChange::Arrival, L"/dev/hidraw3");
    EXPECT_EQ(hint(), textOf(IDS_HINT_READY));
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCKPAD");
    EXPECT_TRUE(enabled(IDC_UPDATE));

    session().deviceChanged(DeviceChange::Removal, L"/dev/hidraw3");
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"DOCKPAD") << "the label keeps the last unit's name";
}

// The window's own part: what its watch tells reaches the session through its event loop,
// and nothing does once it has stopped watching.
TEST_F(WindowTest, TheWatchDeliversArrivalsAndRemovalsToTheSession) {
    start();
    ASSERT_TRUE(shownWindow->watchDevices());
    const int unit = plugUnit({});
    ASSERT_TRUE(tellHotPlug({true, L"/dev/hidraw3"}));
    EXPECT_TRUE(pumpUntil([] { return enabled(IDC_UPDATE); }));
    EXPECT_EQ(hint(), textOf(IDS_HINT_READY));

    simRemoveDevice(unit);
    ASSERT_TRUE(tellHotPlug({false, L"/dev/hidraw3"}));
    EXPECT_TRUE(pumpUntil([] { return !enabled(IDC_UPDATE); }));
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));

    shownWindow->stopDeviceChanges();
    plugUnit({});
    EXPECT_FALSE(tellHotPlug({true, L"/dev/hidraw3"})) << "the watch has ended";
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(enabled(IDC_UPDATE));
}

TEST_F(WindowTest, NotificationsWaitForTheBoxThatIsOpen) {
    SimUnitConfig foreign;
    foreign.typeCode = 0x12345678;
    const int incompatible = plugUnit(foreign, 1);
    std::wstring hintDuringBox;
    whileBoxOpen = [&](const SeenBox&) {
        simRemoveDevice(incompatible);
        plugUnit({}, 2);
        session().deviceChanged(DeviceChange::Removal, L"/dev/hidraw1");
        session().deviceChanged(DeviceChange::Arrival, L"/dev/hidraw2");
        hintDuringBox = hint();
    };
    start();
    ASSERT_EQ(boxesSeen.size(), 1u);
    EXPECT_TRUE(hintDuringBox.empty()) << "the arrival waited for the box";
    EXPECT_EQ(hint(), textOf(IDS_HINT_READY));
    EXPECT_EQ(session().view().device, L"/dev/hidraw2");
}

TEST_F(WindowTest, GermanInterface) {
    start(Language::German);
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_NO_UNIT));
    EXPECT_EQ(hint().rfind(L"Es wurde keine Programmiereinheit", 0), 0u);
    EXPECT_EQ(text(IDC_CLOSE), L"Beenden");
    EXPECT_EQ(text(IDC_VERSION_GROUP), L"Installierte Firmware Versionen");
    EXPECT_EQ(text(IDC_UNIT_LABEL), L"Programmiereinheit");
    EXPECT_EQ(dialog()->windowTitle().toStdWString(), L"NORVAX ORCA 75 LX FW Updater 3.0 ");
    for (int id : {IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL, -1}) {
        const auto* label = static_cast<const QLabel*>(control(id));
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString() << " is cut off";
    }
}

TEST_F(WindowTest, LogoIsPaintedRightOfTheGroupWithoutItsGreen) {
    start();
    const QRect group = control(IDC_VERSION_GROUP)->geometry();
    const LogoPlace place =
        logoPlace(dialog()->width(), group.x() + group.width(), group.y(), 1772, 263);
    ASSERT_TRUE(logoFits(place));
    const QImage shot = dialog()->grab().toImage();
    int red = 0;
    int green = 0;
    for (int x = place.x; x < place.x + place.width; x += 2)
        for (int y = place.y; y < place.y + place.height; y += 2) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 100 && c.green() < 100;
            green += c.rgb() == qRgb(0, 255, 0);
        }
    EXPECT_GT(red, 20) << "the red artwork is drawn";
    EXPECT_EQ(green, 0) << "its green background never shows";
}

TEST_F(WindowTest, MainFrameEndsOnePastItsLastPixel) {
    start();
    dialog()->move(100, 100);
    const QRect frame = dialog()->frameGeometry();
    const WindowFrame seen = shownWindow->mainFrame();
    EXPECT_EQ(seen.left, frame.x());
    EXPECT_EQ(seen.top, frame.y());
    EXPECT_EQ(seen.right, frame.x() + frame.width());
    EXPECT_EQ(seen.bottom, frame.y() + frame.height());
}
