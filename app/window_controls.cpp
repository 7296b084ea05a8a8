// The session's view and boxes on the controls of dialog 110.
#include "app/main_dialog.h"
#include "resources/resource_ids.h"

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

} // namespace

void Win32Window::setText(int control, const std::wstring& text) {
    SetDlgItemTextW(dialog_, control, text.c_str());
}

void Win32Window::enable(int control, bool enabled) {
    EnableWindow(GetDlgItem(dialog_, control), enabled);
}

void Win32Window::render(const SessionView& view) {
    for (const ControlChange& change : controlChanges(shown_ ? &*shown_ : nullptr, view)) {
        if (change.control == kTitleControl)
            SendMessageW(dialog_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(change.text.c_str()));
        else if (change.isText)
            setText(change.control, change.text);
        else
            enable(change.control, change.enabled);
    }
    shown_ = view;
}

void Win32Window::stopDeviceChanges() {
    platformStopHotPlug(hotPlug_);
    hotPlug_ = nullptr;
}

void Win32Window::end(EndStatus status) {
    EndDialog(dialog_, status);
}

WindowFrame Win32Window::mainFrame() {
    RECT frame{};
    GetWindowRect(dialog_, &frame);
    return {frame.left, frame.top, frame.right, frame.bottom};
}

FeedbackWindow Win32Window::inFront() {
    return GetForegroundWindow();
}

void Win32Window::raise(FeedbackWindow window) {
    if (window != nullptr)
        SetWindowPos(asWindow(window), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Win32Window::show(FeedbackWindow window) {
    if (window != nullptr)
        ShowWindow(asWindow(window), SW_SHOW);
}

bool Win32Window::ask(const Box& box) {
    const UINT iconStyle = box.icon == MessageIcon::Information ? MB_ICONINFORMATION
                           : box.icon == MessageIcon::Warning   ? MB_ICONWARNING
                                                                : MB_ICONERROR;
    const UINT buttonStyle = box.buttons == MessageButtons::OkCancel ? MB_OKCANCEL
                             : box.buttons == MessageButtons::YesNo  ? MB_YESNO
                                                                     : MB_OK;
    const int answer =
        MessageBoxW(dialog_, box.text.c_str(), box.caption.c_str(), iconStyle | buttonStyle);
    return answer == IDOK || answer == IDYES;
}
