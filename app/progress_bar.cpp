// The progress window of an update: a bar of the common controls, owned by the dialog.
#include "app/main_dialog.h"

#include <commctrl.h>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

// Alt+F4 reaches a window without a close box all the same. The bar keeps its own
// procedure in its user data; its owner is the dialog of the session that decides.
LRESULT CALLBACK refuseClose(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(bar, GWLP_USERDATA));
    if (message == WM_CLOSE) {
        Win32Window* owner = windowOf(GetWindow(bar, GW_OWNER));
        if (owner != nullptr && !owner->session().progressCloseAllowed())
            return 0;
    }
    return CallWindowProcW(procedure, bar, message, wParam, lParam);
}

} // namespace

FeedbackWindow Win32Window::openProgress(const std::wstring& title, int x, int y, int width,
                                         int height) {
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, title.c_str(), WS_VISIBLE | PBS_SMOOTH, x,
                                    y, width, height, dialog_, nullptr, instance_, nullptr);
    if (progress != nullptr)
        SetWindowLongPtrW(
            progress, GWLP_USERDATA,
            SetWindowLongPtrW(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuseClose)));
    return progress;
}

void Win32Window::showProgress(FeedbackWindow progress, const ProgressState& state) {
    SendMessageW(asWindow(progress), PBM_SETPOS, state.percent, 0);
}

void Win32Window::closeProgress(FeedbackWindow progress) {
    DestroyWindow(asWindow(progress));
}
