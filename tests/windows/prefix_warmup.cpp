// Run once in a newly created Wine prefix, before any test. The first uses of a prefix
// start Wine's background work (the desktop process, the device services installing the
// HID devices they find, the console host); the test session waits for all of it to end
// before the tests begin, so that no test process starts or exits beside it.
#include "platform/platform.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

int wmain() {
    InitCommonControls();
    HWND window = CreateWindowExW(0, L"STATIC", L"warm-up", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"warm-up", WS_VISIBLE | PBS_SMOOTH, 0, 0, 400,
                               50, window, nullptr, nullptr, nullptr);
    HotPlugWatch* watch = platformWatchHotPlug(window);
    std::vector<std::wstring> paths;
    const bool listed = platformListHidInterfaces(paths);
    for (const std::wstring& path : paths)
        platformCloseDevice(platformOpenDevice(path));
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    platformStopHotPlug(watch);
    DestroyWindow(bar);
    DestroyWindow(window);
    return listed && window != nullptr && bar != nullptr && watch != nullptr ? 0 : 1;
}
