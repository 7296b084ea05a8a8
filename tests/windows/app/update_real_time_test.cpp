// A short update in real time: the window keeps answering while it runs, and its progress
// arrives in order. How fast it answers is the benchmark's to print, not a test's.
#include "app/window_thread.h"
#include "tests/windows/app/dialog_harness.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

using RealTimeUpdate = DialogTest;

TEST_F(RealTimeUpdate, WindowKeepsAnsweringAndShowsItsProgress) {
    simSetRealTime(true);
    simSetFirmwareImage(std::vector<std::uint8_t>(480, 0x3C)); // ten blocks
    simAddUnit(kUnitPath);
    start();

    // Another thread's messages to the window, each waited for however long it takes.
    std::atomic<bool> watching{true};
    std::atomic<bool> watcherDone{false};
    std::atomic<int> answeredDuringUpdate{0};
    HWND target = dialog;
    std::thread watcher([&] {
        while (watching) {
            SendMessageW(target, WM_NULL, 0, 0);
            if (session().updateRunning())
                ++answeredDuringUpdate;
            Sleep(25);
        }
        watcherDone = true;
    });

    press(IDC_UPDATE);
    HWND progress = nullptr;
    RECT progressRect{};
    LONG style = 0;
    std::vector<LRESULT> positions;
    ASSERT_TRUE(pumpUntil([&] {
        if (progress == nullptr && (progress = ownProgressWindow()) != nullptr) {
            GetWindowRect(progress, &progressRect);
            style = GetWindowLongW(progress, GWL_STYLE);
        }
        if (progress != nullptr && IsWindow(progress))
            positions.push_back(SendMessageW(progress, PBM_GETPOS, 0, 0));
        return !session().updateRunning();
    }));
    watching = false;
    pumpUntil([&] { return watcherDone.load(); }); // its last message needs this thread
    watcher.join();

    EXPECT_GT(answeredDuringUpdate.load(), 0) << "the erase alone lasts five seconds";
    ASSERT_NE(progress, nullptr);
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << "progress never falls";
    RECT dialogRect;
    GetWindowRect(dialog, &dialogRect);
    const WindowCorner expected = progressWindowCorner(
        {dialogRect.left, dialogRect.top, dialogRect.right, dialogRect.bottom});
    EXPECT_EQ(progressRect.left, expected.x);
    EXPECT_EQ(progressRect.top, expected.y);
    EXPECT_EQ(progressRect.right - progressRect.left, 400);
    EXPECT_EQ(progressRect.bottom - progressRect.top, 50);
    EXPECT_EQ(style & (WS_CHILD | WS_POPUP), 0) << "a top-level overlapped window";
    EXPECT_EQ(style & PBS_SMOOTH, PBS_SMOOTH);
    EXPECT_EQ(hint(), loadIn(IDS_HINT_UPDATE_DONE));
}
