// A short update in real time: the window must keep answering while it runs.
#include "app/update_runner.h"
#include "tests/windows/app/dialog_harness.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

using RealTimeUpdate = DialogTest;

TEST_F(RealTimeUpdate, WindowKeepsAnsweringAndShowsItsProgress) {
    simSetRealTime(true);
    simSetFirmwareImage(std::vector<std::uint8_t>(480, 0x3C)); // ten blocks
    simAddUnit(kUnitPath);
    start();

    std::atomic<bool> watching{true};
    std::atomic<int> answered{0};
    std::atomic<int> late{0};
    HWND target = dialog;
    std::thread watcher([&] {
        while (watching) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) != 0)
                ++answered;
            else
                ++late;
            Sleep(25);
        }
    });

    press(IDC_UPDATE);
    HWND progress = nullptr;
    RECT progressRect{};
    LONG style = 0;
    ASSERT_TRUE(pumpUntil([&] {
        if (progress == nullptr) {
            progress = FindWindowW(PROGRESS_CLASSW, nullptr);
            if (progress != nullptr) {
                GetWindowRect(progress, &progressRect);
                style = GetWindowLongW(progress, GWL_STYLE);
            }
        }
        return !updateRunning();
    }));
    watching = false;
    watcher.join();

    EXPECT_GT(answered.load(), 100) << "the erase alone lasts five seconds";
    EXPECT_EQ(late.load(), 0) << "every message sent during the update was answered in 100 ms";
    ASSERT_NE(progress, nullptr);
    RECT dialogRect;
    GetWindowRect(dialog, &dialogRect);
    const POINT expected = progressWindowPlace(dialogRect);
    EXPECT_EQ(progressRect.left, expected.x);
    EXPECT_EQ(progressRect.top, expected.y);
    EXPECT_EQ(progressRect.right - progressRect.left, 400);
    EXPECT_EQ(progressRect.bottom - progressRect.top, 50);
    EXPECT_EQ(style & (WS_CHILD | WS_POPUP), 0) << "a top-level overlapped window";
    EXPECT_EQ(style & PBS_SMOOTH, PBS_SMOOTH);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_DONE));
}
