// The progress window of an update: a bar of the common controls, owned by the dialog.
#include "app/main_dialog.h"

#include <commctrl.h>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

WNDPROC barProcedure = nullptr;

// Alt+F4 reaches a window without a close box all the same.
LRESULT CALLBACK refuseClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && !progressCloseAllowed())
        return 0;
    return CallWindowProcW(barProcedure, window, message, wParam, lParam);
}

} // namespace

FeedbackWindow windowOpenProgress(const std::wstring& title, int x, int y, int width, int height) {
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, title.c_str(), WS_VISIBLE | PBS_SMOOTH, x,
                                    y, width, height, mainDialog, nullptr, moduleInstance, nullptr);
    if (progress != nullptr)
        barProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuseClose)));
    return progress;
}

void windowShowProgress(FeedbackWindow progress, const ProgressState& state) {
    SendMessageW(asWindow(progress), PBM_SETPOS, state.percent, 0);
}

void windowCloseProgress(FeedbackWindow progress) {
    DestroyWindow(asWindow(progress));
}
