#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"

#include <cstdio>

namespace {

const int kVersionControls[] = {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION,
                                IDC_UNIT_LABEL,   IDC_BOOTLOADER_LABEL,   IDC_ESC_LABEL};

void setText(int control, const std::wstring& text) {
    SetDlgItemTextW(mainDialog, control, text.c_str());
}

} // namespace

std::wstring longVersionForm(std::uint32_t version) {
    wchar_t text[32];
    const unsigned top = version >> 24;
    const unsigned middle = (version >> 8) & 0xFF;
    const unsigned low = version & 0xFF;
    if (top != 0)
        swprintf_s(text, 32, L"%u.%u.%u", top, middle, low);
    else
        swprintf_s(text, 32, L"%u.%u", middle, low);
    return text;
}

std::wstring unitVersionText(std::uint32_t version) {
    // Some unit firmware keeps its version one byte higher in the word.
    if ((version & 0xFF) == 0)
        version >>= 8;
    return longVersionForm(version);
}

std::wstring escVersionText(std::uint16_t version) {
    if (version == kNoEscVersion)
        return L"----------";
    wchar_t text[32];
    swprintf_s(text, 32, L"%u.%u", static_cast<unsigned>(version >> 8),
               static_cast<unsigned>(version & 0xFF));
    return text;
}

void refreshVersions() {
    const UnitConnection& unit = unitConnection;
    const bool open = unitIsOpen(unit);
    if (!open)
        for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION})
            setText(control, L"0.0.0");
    for (int control : kVersionControls)
        EnableWindow(GetDlgItem(mainDialog, control), open);
    if (!open)
        return;
    setText(IDC_UNIT_VERSION, unitVersionText(unit.unitFirmwareVersion));
    setText(IDC_BOOTLOADER_VERSION, longVersionForm(escBootloaderVersion(unit)));
    setText(IDC_ESC_VERSION, escVersionText(escFirmwareVersion(unit)));
    setText(IDC_UNIT_LABEL, unit.productId == kProductDockpad ? L"DOCKPAD" : L"DOCK-BOX");
}
