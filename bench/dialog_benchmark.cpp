// The real Win32 dialog, its worker and its progress window with the demo's simulated
// unit in real time, the unit answering at once: presses Update, accepts the confirmation,
// and prints the time from the lock request to the write-protect-on request against the
// 45,840 ms of fixed waits in between. Under Wine: wine dialog_benchmark.exe.
#include "app/main_dialog.h"
#include "app/window_thread.h"
#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"
#include "bench/lock_to_protect.h"
#include "sim/sim_unit.h"

#include <cstdio>

namespace {

HHOOK boxes = nullptr;
HHOOK posted = nullptr;
HWND mainDialog = nullptr;

// Notes the main dialog and accepts every message box as it opens.
LRESULT CALLBACK acceptBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && windowOf(call->hwnd) != nullptr)
        mainDialog = call->hwnd;
    else if (code == HC_ACTION && call->message == WM_INITDIALOG)
        PostMessageW(call->hwnd, WM_COMMAND, IDOK, 0);
    return CallNextHookEx(boxes, code, wParam, lParam);
}

// Presses Update once the dialog runs, and Close once the update has ended.
LRESULT CALLBACK drive(int code, WPARAM wParam, LPARAM lParam) {
    static bool pressed = false;
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && mainDialog != nullptr) {
        if (!pressed) {
            pressed = true;
            PostMessageW(mainDialog, WM_COMMAND, IDC_UPDATE, 0);
        } else if (message->message == kUpdateEnded) {
            PostMessageW(mainDialog, WM_COMMAND, IDC_CLOSE, 0);
        }
    }
    return CallNextHookEx(posted, code, wParam, lParam);
}

} // namespace

int main() {
    restrictDllSearchToSystem();
    simStartDemo(simDemoPathWindows);
    boxes = SetWindowsHookExW(WH_CALLWNDPROCRET, acceptBoxes, nullptr, GetCurrentThreadId());
    posted = SetWindowsHookExW(WH_GETMESSAGE, drive, nullptr, GetCurrentThreadId());
    runWin32Program(GetModuleHandleW(nullptr));
    UnhookWindowsHookEx(posted);
    UnhookWindowsHookEx(boxes);

    return printLockToProtect() ? 0 : 1;
}
