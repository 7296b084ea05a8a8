#include "tests/windows/app/dialog_harness.h"

using MainDialog = DialogTest;

TEST_F(MainDialog, TitleLabelsAndIcon) {
    start();
    EXPECT_EQ(text(0), L"NORVAX ORCA 75 LX FW Updater 3.0 ");
    EXPECT_EQ(text(IDC_UNIT_LABEL), loadIn(IDS_LABEL_UNIT));
    EXPECT_EQ(text(IDC_BOOTLOADER_LABEL), loadIn(IDS_LABEL_BOOTLOADER));
    EXPECT_EQ(text(IDC_ESC_LABEL), loadIn(IDS_LABEL_ESC));
    EXPECT_NE(GetClassLongPtrW(dialog, GCLP_HICON), 0);
    EXPECT_TRUE(front->watchingDevices());
    EXPECT_EQ(front->dialog(), dialog);
}

TEST_F(MainDialog, OnlyTheControllerRowIsRed) {
    start();
    HDC context = GetDC(dialog);
    for (int control : {IDC_ESC_LABEL, IDC_ESC_VERSION}) {
        SetTextColor(context, RGB(0, 0, 0));
        INT_PTR brush = mainDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE)) << control;
        EXPECT_EQ(GetTextColor(context), RGB(255, 0, 0)) << control;
        EXPECT_EQ(GetBkMode(context), TRANSPARENT);
    }
    for (int control :
         {IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION}) {
        SetTextColor(context, RGB(0, 0, 0));
        EXPECT_EQ(mainDialogProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control))),
                  0)
            << control;
        EXPECT_EQ(GetTextColor(context), RGB(0, 0, 0)) << control;
    }
    ReleaseDC(dialog, context);
}

TEST(Logo, PlaceInClientCoordinatesTakesOffFrameAndCaption) {
    const RECT window{100, 50, 1400, 600};
    const RECT group{130, 100, 400, 250};
    LogoPlace place = logoPlace(window, group, 1772, 263, 3, 19);
    EXPECT_EQ(place.x, 400 - 100 - 3 + 20);
    EXPECT_EQ(place.y, 100 - 50 - 19);
    const RECT narrow{100, 50, 845, 600}; // room: 845 - 100 - 3 - (400 - 100 - 3) - 45 = 400
    EXPECT_EQ(logoPlace(narrow, group, 1772, 263, 3, 19).width, 400);
}

TEST_F(MainDialog, CloseWithNoUnitCancelsTheRegistrationAndEnds) {
    start();
    ASSERT_FALSE(unitOpen());
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, 0xABCD), 0);
    EXPECT_FALSE(front->watchingDevices());
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog has ended";
}

TEST_F(MainDialog, CloseReleasesAnOpenUnit) {
    simAddUnit(kUnitPath);
    start();
    ASSERT_TRUE(unitOpen());
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(simOpenHandles(), 0u);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(MainDialog, OtherCommandsAreIgnored) {
    simAddUnit(kUnitPath);
    start();
    EXPECT_EQ(mainDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_HINT, EN_CHANGE), 0), 0);
    EXPECT_EQ(mainDialogProc(dialog, WM_COMMAND, 4711, 0), 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(unitOpen());
    EXPECT_TRUE(boxesSeen.empty());
}
