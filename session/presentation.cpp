#include "session/presentation.h"

#include "unitlink/unit_connection.h"
#include "update/firmware_image.h"
#include "update/update_procedure.h"
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

std::wstring windowTitle() {
    return formatText(L"NORVAX %s FW Updater %u.%u %s",
                      {updaterProfile.modelName, std::uint32_t{updaterProfile.imageMajor},
                       std::uint32_t{updaterProfile.imageMinor}, L""});
}

bool isControllerRow(int control) {
    return control == IDC_ESC_LABEL || control == IDC_ESC_VERSION;
}

WindowCorner progressWindowCorner(const WindowFrame& main) {
    return {main.left + ((main.right - main.left) >> 1) - (kProgressWidth >> 1),
            main.top + ((main.bottom - main.top) >> 1) - (kProgressHeight >> 1)};
}

ProgressState progressState(std::uint32_t total, std::uint32_t remaining) {
    ProgressState state{};
    state.percent = progressPercent(total, remaining);
    state.blocksTotal = static_cast<std::uint32_t>(blockCount(total));
    state.blocksWritten = state.blocksTotal - static_cast<std::uint32_t>(blockCount(remaining));
    // The fixed wait after each block is nearly all of a block's time.
    const std::uint64_t msLeft =
        std::uint64_t{state.blocksTotal - state.blocksWritten} * kStepWaitMs;
    state.secondsLeft = static_cast<std::uint32_t>((msLeft + 999) / 1000);
    return state;
}

std::vector<ControlChange> controlChanges(const SessionView* was, const SessionView& now) {
    std::vector<ControlChange> changes;
    const std::pair<int, const std::wstring SessionView::*> texts[] = {
        {kTitleControl, &SessionView::title},
        {IDC_UNIT_LABEL, &SessionView::unitLabel},
        {IDC_BOOTLOADER_LABEL, &SessionView::bootloaderLabel},
        {IDC_ESC_LABEL, &SessionView::escLabel},
        {IDC_UNIT_VERSION, &SessionView::unitVersion},
        {IDC_BOOTLOADER_VERSION, &SessionView::bootloaderVersion},
        {IDC_ESC_VERSION, &SessionView::escVersion},
        {IDC_HINT, &SessionView::hint}};
    for (const auto& [control, field] : texts)
        if (was == nullptr || was->*field != now.*field)
            changes.push_back({control, true, now.*field, false});
    if (was == nullptr || was->versionsEnabled != now.versionsEnabled)
        for (int control : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION,
                            IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
            changes.push_back({control, false, {}, now.versionsEnabled});
    if (was == nullptr || was->updateEnabled != now.updateEnabled)
        changes.push_back({IDC_UPDATE, false, {}, now.updateEnabled});
    return changes;
}
