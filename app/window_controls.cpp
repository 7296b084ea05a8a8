// The session's window operations on the controls of dialog 110.
#include "app/main_dialog.h"
#include "resources/resource_ids.h"

#include <vector>

namespace {

const int kVersionControls[] = {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION,
                                IDC_UNIT_LABEL,   IDC_BOOTLOADER_LABEL,   IDC_ESC_LABEL};

} // namespace

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

void windowEnableUpdate(bool enabled) {
    EnableWindow(GetDlgItem(mainDialog, IDC_UPDATE), enabled);
}

void windowSetVersion(VersionField field, const std::wstring& text) {
    SetDlgItemTextW(mainDialog, kVersionControls[static_cast<int>(field)], text.c_str());
}

void windowSetUnitLabel(const std::wstring& text) {
    SetDlgItemTextW(mainDialog, IDC_UNIT_LABEL, text.c_str());
}

void windowEnableVersionRows(bool enabled) {
    for (int control : kVersionControls)
        EnableWindow(GetDlgItem(mainDialog, control), enabled);
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
