#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "update/update_procedure.h"

std::wstring loadString(UINT id) {
    wchar_t buffer[2048];
    int length = LoadStringW(moduleInstance, id, buffer, 2048);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring loadText(unsigned id) {
    return loadString(id);
}

void setHint(const std::wstring& text) {
    SetDlgItemTextW(mainDialog, IDC_HINT, text.c_str());
}

void enableUpdateButton(bool enabled) {
    EnableWindow(GetDlgItem(mainDialog, IDC_UPDATE), enabled);
}
