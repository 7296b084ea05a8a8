#include "session/session.h"

#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/updater_profile.h"

std::wstring longVersionForm(std::uint32_t version) {
    const std::uint32_t top = version >> 24;
    const std::uint32_t middle = (version >> 8) & 0xFF;
    const std::uint32_t low = version & 0xFF;
    if (top != 0)
        return formatText(L"%u.%u.%u", {top, middle, low});
    return formatText(L"%u.%u", {middle, low});
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
    return formatText(L"%u.%u", {std::uint32_t{version} >> 8, std::uint32_t{version} & 0xFFu});
}

LogoPlace logoPlace(int windowRight, int groupRight, int groupTop, int bitmapWidth,
                    int bitmapHeight) {
    LogoPlace place{};
    place.width = bitmapWidth >> 1;
    const int room = windowRight - groupRight - 45;
    if (room <= place.width)
        place.width = room;
    place.height =
        static_cast<int>(static_cast<float>(place.width) / static_cast<float>(bitmapWidth) *
                         static_cast<float>(bitmapHeight));
    place.x = groupRight + 20;
    place.y = groupTop;
    return place;
}

std::wstring productLabel(std::uint16_t productId) {
    return productId == kProductDockpad ? L"DOCKPAD" : L"DOCK-BOX";
}

void refreshVersions() {
    const UnitConnection& unit = unitConnection;
    const bool open = unitIsOpen(unit);
    if (!open)
        for (int field : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION})
            windowSetText(field, L"0.0.0");
    for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION, IDC_UNIT_LABEL,
                        IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
        windowEnable(control, open);
    if (!open)
        return;
    windowSetText(IDC_UNIT_VERSION, unitVersionText(unit.unitFirmwareVersion));
    windowSetText(IDC_BOOTLOADER_VERSION, longVersionForm(escBootloaderVersion(unit)));
    windowSetText(IDC_ESC_VERSION, escVersionText(escFirmwareVersion(unit)));
    windowSetText(IDC_UNIT_LABEL, productLabel(unit.productId));
}

std::wstring windowTitle() {
    return formatText(L"NORVAX %s FW Updater %u.%u %s",
                      {updaterProfile.modelName, std::uint32_t{updaterProfile.imageMajor},
                       std::uint32_t{updaterProfile.imageMinor}, L""});
}

bool isControllerRow(int control) {
    return control == IDC_ESC_LABEL || control == IDC_ESC_VERSION;
}
