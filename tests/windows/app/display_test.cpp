// Tests that read pixels off the screen or move the foreground: they hold the display's
// lock, so that no other test program's window covers or takes it meanwhile.
#include "tests/windows/app/dialog_harness.h"

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

// What the keep-on-top rule weighs, as Windows gives it: whichever window is in front,
// another program's included.
TEST_F(Display, InFrontIsTheForegroundWindowOfAnyProgram) {
    start();
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, front->instance(), nullptr);
    HWND progress = CreateWindowExW(0, L"STATIC", L"progress", WS_VISIBLE, 0, 0, 400, 50, dialog,
                                    nullptr, front->instance(), nullptr);
    SetForegroundWindow(other);
    pump();
    ASSERT_EQ(GetForegroundWindow(), other) << "the display lets a test choose the foreground";
    EXPECT_EQ(front->inFront(), other);
    SetForegroundWindow(dialog);
    pump();
    ASSERT_EQ(GetForegroundWindow(), dialog);
    EXPECT_EQ(front->inFront(), dialog);
    DestroyWindow(progress);
    DestroyWindow(other);
}
