#include "tests/qt/window_harness.h"

#include "resources/generate/firmware_pattern.h"
#include "update/update_procedure.h"

#include <QDialog>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class UpdateWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        simSetFirmwareImage(standInImage());
        unit = plugUnit();
        start();
        ASSERT_TRUE(enabled(IDC_UPDATE));
    }
    int unit = -1;
};

TEST_F(UpdateWindowTest, SucceedsAndShowsTheNewVersion) {
    int highest = -1;
    bool monotonic = true;
    bool seen = false, placed = false, closeRefused = false;
    // Watches the progress window's bar from the window's own event loop.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* bar = dialog()->findChild<QProgressBar*>(QStringLiteral("progress"))) {
            if (!seen) {
                seen = true;
                placed = bar->windowHandle() != nullptr &&
                         bar->windowHandle()->transientParent() == dialog()->windowHandle() &&
                         bar->windowModality() == Qt::WindowModal;
                closeRefused = !bar->close() && bar->isVisible();
            }
            monotonic = monotonic && bar->value() >= highest;
            highest = std::max(highest, bar->value());
        }
    });
    watch.start(1);
    press(IDC_UPDATE);
    ASSERT_EQ(boxesSeen.size(), 1u);
    EXPECT_EQ(boxesSeen[0].caption, textOf(IDS_CONFIRM_UPDATE_CAPTION));
    EXPECT_EQ(boxesSeen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxesSeen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(session().updateRunning());
    EXPECT_FALSE(enabled(IDC_UPDATE));

    // Close, Escape and the close button are refused while the update runs.
    session().close();
    QTest::keyClick(dialog(), Qt::Key_Escape);
    dialog()->close();
    EXPECT_TRUE(dialog()->isVisible());

    ASSERT_TRUE(pumpUntil([] { return !session().updateRunning(); }));
    EXPECT_EQ(hint(), textOf(IDS_HINT_UPDATE_DONE));
    EXPECT_EQ(text(IDC_ESC_VERSION), L"3.0");
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_TRUE(!session().view().device.empty());
    EXPECT_EQ(dialog()->findChild<QProgressBar*>(QStringLiteral("progress")), nullptr);
    EXPECT_TRUE(monotonic);
    EXPECT_GE(highest, 0) << "the progress window was shown";
    EXPECT_TRUE(placed) << "transient for and modal to the main window";
    EXPECT_TRUE(closeRefused) << "its close is refused while the update runs";
    EXPECT_TRUE(boxesSeen[0].transientForMain);
    EXPECT_NE(boxesSeen[0].modality, Qt::NonModal);
    EXPECT_EQ(simProtocolViolations(unit), 0u);

    QTest::keyClick(dialog(), Qt::Key_Escape);
    EXPECT_FALSE(dialog()->isVisible()) << "Escape closes once the update has ended";
}

TEST_F(UpdateWindowTest, FailureShowsItsCodesAndClosesTheUnit) {
    simAddFault(unit, {SimFaultKind::StatusError, ERASE, 1, 7});
    press(IDC_UPDATE);
    ASSERT_TRUE(pumpUntil([] { return !session().updateRunning(); }));
    ASSERT_EQ(boxesSeen.size(), 2u);
    const SeenBox& failure = boxesSeen[1];
    EXPECT_EQ(failure.caption, textOf(IDS_UPDATE_FAILED_CAPTION));
    EXPECT_EQ(failure.text, textOf(IDS_FAIL_ERASE) +
                                L"\nThe system shows following errorcode: 0x00000007-0x00000000");
    EXPECT_EQ(failure.icon, QMessageBox::Critical);
    EXPECT_EQ(hint(), textOf(IDS_HINT_UPDATE_FAILED));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    EXPECT_FALSE(!session().view().device.empty());
    EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
}

TEST_F(UpdateWindowTest, RemovalDuringTheUpdateWaitsForItsEnd) {
    press(IDC_UPDATE);
    ASSERT_TRUE(session().updateRunning());
    session().deviceChanged(DeviceChange::Removal, L"/dev/hidraw3");
    ASSERT_TRUE(pumpUntil([] { return !session().updateRunning(); }));
    EXPECT_EQ(simProtocolViolations(unit), 0u);
    EXPECT_FALSE(!session().view().device.empty()) << "the removal took effect after the update";
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_CONNECTION_LOST));
}

// The controller swapped while the confirmation is open: the window draws the other
// model's message and then why nothing was written, each a warning box of the window.
TEST_F(UpdateWindowTest, AControllerSwappedDuringTheConfirmationIsShownAndNotWritten) {
    whileBoxOpen = [this](const SeenBox& box) {
        if (box.caption == textOf(IDS_CONFIRM_UPDATE_CAPTION))
            simSwapController(unit, 0x0BADC0DE, 0x0909);
    };
    press(IDC_UPDATE);
    ASSERT_TRUE(pumpUntil([] { return !session().updateRunning(); }));
    ASSERT_EQ(boxesSeen.size(), 3u);
    EXPECT_EQ(boxesSeen[1].caption, textOf(IDS_INCOMPATIBLE_CAPTION));
    const SeenBox& changed = boxesSeen[2];
    EXPECT_EQ(changed.caption, textOf(IDS_CONTROLLER_CHANGED_CAPTION));
    EXPECT_EQ(changed.text, textOf(IDS_CONTROLLER_CHANGED));
    EXPECT_EQ(changed.icon, QMessageBox::Warning);
    EXPECT_EQ(changed.buttons, QMessageBox::Ok);
    EXPECT_TRUE(changed.transientForMain);
    EXPECT_EQ(hint(), instructionsAfter(IDS_HINT_INCOMPATIBLE));
    EXPECT_FALSE(enabled(IDC_UPDATE));
    for (const SimExchange& e : simTranscript())
        EXPECT_NE(e.request[1], SYSTEM_LOCK);
}

TEST_F(UpdateWindowTest, DecliningSendsNothing) {
    boxAnswers = {QMessageBox::Cancel};
    const std::size_t before = simTranscript().size();
    press(IDC_UPDATE);
    EXPECT_FALSE(session().updateRunning());
    EXPECT_EQ(simTranscript().size(), before);
    EXPECT_TRUE(enabled(IDC_UPDATE));
    EXPECT_EQ(hint(), textOf(IDS_HINT_READY));
}

} // namespace
