#include "terminal/win32/device_changes.h"

#include <windows.h>

#include <dbt.h>

namespace {

constexpr wchar_t kWindowClass[] = L"OrcaUpdaterConsoleDeviceChanges";

LRESULT CALLBACK onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* changes = reinterpret_cast<ConsoleDeviceChanges*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_DEVICECHANGE || changes == nullptr ||
        (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE))
        return DefWindowProcW(window, message, wParam, lParam);
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header != nullptr && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        changes->waiting.push_back({wParam == DBT_DEVICEARRIVAL, device->dbcc_name});
    }
    return TRUE;
}

void takeMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

bool startDeviceChanges(ConsoleDeviceChanges& changes) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = onMessage;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window == nullptr)
        return false;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&changes));
    changes.watch = platformWatchHotPlug(window);
    if (changes.watch == nullptr) {
        DestroyWindow(window);
        return false;
    }
    changes.window = window;
    return true;
}

void stopDeviceChanges(ConsoleDeviceChanges& changes) {
    platformStopHotPlug(changes.watch);
    if (changes.window != nullptr)
        DestroyWindow(static_cast<HWND>(changes.window));
    changes = ConsoleDeviceChanges{};
}

void awaitDeviceChanges(ConsoleDeviceChanges& changes, unsigned ms) {
    if (changes.waiting.empty())
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    takeMessages();
}

bool nextDeviceChange(ConsoleDeviceChanges& changes, HotPlugEvent& event) {
    takeMessages();
    if (changes.waiting.empty())
        return false;
    event = changes.waiting.front();
    changes.waiting.pop_front();
    return true;
}
