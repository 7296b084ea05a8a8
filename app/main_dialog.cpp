#include "app/main_dialog.h"
#include "app/window_thread.h"
#include "resources/resource_ids.h"

namespace {

INT_PTR controllerRowColour(HWND dialog, HDC context, HWND control) {
    if (GetParent(control) != dialog || !isControllerRow(GetDlgCtrlID(control)))
        return 0;
    SetTextColor(context, asColorRef(kControllerRowColour));
    SetBkMode(context, TRANSPARENT);
    // A system colour brush: owned by the system, never to be deleted.
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

Win32Window* windowOf(HWND dialog) {
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    Win32Window* owner = windowOf(window);
    return owner != nullptr ? owner->handle(window, message, wParam, lParam) : 0;
}

INT_PTR Win32Window::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        dialog_ = window;
        HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
        SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
        hotPlug_ = platformWatchHotPlug(window);
        session_.start(hotPlug_ != nullptr);
        return 1;
    }
    case WM_PAINT:
        paintLogo(window, instance_);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CLOSE:
            session_.close();
            return 1;
        case IDC_UPDATE:
            session_.updatePressed();
            return 1;
        default:
            return 0;
        }
    case WM_CTLCOLORSTATIC:
        return controllerRowColour(window, reinterpret_cast<HDC>(wParam),
                                   reinterpret_cast<HWND>(lParam));
    case WM_DEVICECHANGE:
        return onDeviceChange(wParam, lParam);
    case kRunOnUserInterface:
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return 0;
    case kUpdateEnded:
        session_.updateEnded();
        return 0;
    default:
        return 0;
    }
}
