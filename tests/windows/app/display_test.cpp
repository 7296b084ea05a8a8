// Tests that read pixels off the screen or move the foreground: they hold the display's
// lock, so that no other test program's window covers or takes it meanwhile.
#include "tests/windows/app/dialog_harness.h"
#include "update/update_procedure.h"

using Display = DialogTest;

TEST_F(Display, PaintsTheLogoInItsPlace) {
    start();
    UpdateWindow(dialog);
    RECT window;
    RECT group;
    GetWindowRect(dialog, &window);
    GetWindowRect(GetDlgItem(dialog, IDC_VERSION_GROUP), &group);
    LogoPlace place = logoPlace(window, group, 1772, 263, GetSystemMetrics(SM_CXDLGFRAME),
                                GetSystemMetrics(SM_CYCAPTION));
    ASSERT_GT(place.width, 0);
    HDC context = GetDC(dialog);
    int red = 0;
    int green = 0;
    for (int x = place.x; x < place.x + place.width; x += 2)
        for (int y = place.y; y < place.y + place.height; y += 2) {
            COLORREF c = GetPixel(context, x, y);
            red += GetRValue(c) > 100 && GetGValue(c) < 100;
            green += c == RGB(0, 255, 0);
        }
    ReleaseDC(dialog, context);
    EXPECT_GT(red, 20) << "the red artwork is drawn";
    EXPECT_EQ(green, 0) << "its green background never shows";
}

TEST_F(Display, KeepOnTopActsOnceAndOnlyForItsOwnWindows) {
    start();
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, moduleInstance, nullptr);
    HWND progress = CreateWindowExW(0, L"STATIC", L"progress", WS_VISIBLE, 0, 0, 400, 50, dialog,
                                    nullptr, moduleInstance, nullptr);
    SetForegroundWindow(other);
    pump();
    FeedbackWindow last = nullptr;
    if (GetForegroundWindow() == other) {
        keepOnTop(progress, last);
        EXPECT_EQ(last, nullptr) << "another program is in front: nothing is raised";
    }
    SetForegroundWindow(dialog);
    pump();
    ASSERT_EQ(GetForegroundWindow(), dialog);
    keepOnTop(progress, last);
    EXPECT_EQ(last, dialog);
    SetForegroundWindow(other);
    pump();
    keepOnTop(progress, last);
    EXPECT_EQ(last, dialog) << "once per update";
    DestroyWindow(progress);
    DestroyWindow(other);
}
