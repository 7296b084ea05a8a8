// The progress window of an update, on the dialog's thread.
#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "update/update_procedure.h"

#include <commctrl.h>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

} // namespace

POINT progressWindowPlace(const RECT& dialog) {
    const WindowCorner corner =
        progressWindowCorner(dialog.left, dialog.top, dialog.right, dialog.bottom);
    return {corner.x, corner.y};
}

FeedbackWindow openProgress() {
    HWND progress = nullptr;
    windowRun([&] {
        RECT dialog;
        GetWindowRect(mainDialog, &dialog);
        const std::wstring title = loadString(IDS_PROGRESS_TITLE);
        const POINT place = progressWindowPlace(dialog);
        progress =
            CreateWindowExW(0, PROGRESS_CLASSW, title.c_str(), WS_VISIBLE | PBS_SMOOTH, place.x,
                            place.y, 400, 50, mainDialog, nullptr, moduleInstance, nullptr);
        SendMessageW(progress, PBM_SETPOS, 0, 0);
        raiseMainAndProgress(progress);
    });
    return progress;
}

void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining) {
    windowRun([&] {
        SendMessageW(asWindow(progressWindow), PBM_SETPOS, progressPercent(total, remaining), 0);
    });
}

void closeProgress(FeedbackWindow progressWindow) {
    windowRun([&] { DestroyWindow(asWindow(progressWindow)); });
}
