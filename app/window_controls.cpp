// The session's window operations on the controls of dialog 110.
#include "app/main_dialog.h"
#include "resources/resource_ids.h"

#include <vector>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

} // namespace

void windowSetTitle(const std::wstring& title) {
    SendMessageW(mainDialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void windowStopDeviceChanges() {
    if (deviceNotification != nullptr)
        UnregisterDeviceNotification(deviceNotification);
    deviceNotification = nullptr;
}

void windowEnd(int status) {
    EndDialog(mainDialog, status);
}

WindowFrame windowMainFrame() {
    RECT frame{};
    GetWindowRect(mainDialog, &frame);
    return {frame.left, frame.top, frame.right, frame.bottom};
}

void windowSetHint(const std::wstring& text) {
    SetDlgItemTextW(mainDialog, IDC_HINT, text.c_str());
}

std::wstring windowHint() {
    HWND hint = GetDlgItem(mainDialog, IDC_HINT);
    const int length = GetWindowTextLengthW(hint);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hint, text.data(), length + 1);
    return text.data();
}

void windowSetText(int control, const std::wstring& text) {
    SetDlgItemTextW(mainDialog, control, text.c_str());
}

void windowEnable(int control, bool enabled) {
    EnableWindow(GetDlgItem(mainDialog, control), enabled);
}

FeedbackWindow windowMain() {
    return mainDialog;
}

FeedbackWindow windowInFront() {
    return GetForegroundWindow();
}

void windowRaise(FeedbackWindow window) {
    if (window != nullptr)
        SetWindowPos(asWindow(window), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void windowShow(FeedbackWindow window) {
    if (window != nullptr)
        ShowWindow(asWindow(window), SW_SHOW);
}

bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const UINT iconStyle = icon == MessageIcon::Information ? MB_ICONINFORMATION
                           : icon == MessageIcon::Warning   ? MB_ICONWARNING
                                                            : MB_ICONERROR;
    const UINT buttonStyle = buttons == MessageButtons::OkCancel ? MB_OKCANCEL
                             : buttons == MessageButtons::YesNo  ? MB_YESNO
                                                                 : MB_OK;
    const int answer =
        MessageBoxW(mainDialog, text.c_str(), caption.c_str(), iconStyle | buttonStyle);
    return answer == IDOK || answer == IDYES;
}
