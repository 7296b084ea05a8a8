// The progress window of an update, on the dialog's thread.
#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "update/update_procedure.h"

#include <commctrl.h>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

void raiseBoth(HWND progress) {
    SetWindowPos(mainDialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SetWindowPos(progress, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace

POINT progressWindowPlace(const RECT& dialog) {
    return {dialog.left + ((dialog.right - dialog.left) >> 1) - 200,
            dialog.top + ((dialog.bottom - dialog.top) >> 1) - 25};
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
        raiseBoth(progress);
    });
    return progress;
}

void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining) {
    windowRun([&] {
        SendMessageW(asWindow(progressWindow), PBM_SETPOS, progressPercent(total, remaining), 0);
    });
}

void keepOnTop(FeedbackWindow progressWindow, FeedbackWindow& lastForeground) {
    HWND progress = asWindow(progressWindow);
    HWND last = asWindow(lastForeground);
    if (last == mainDialog || (last != nullptr && last == progress))
        return;
    windowRun([&] {
        HWND front = GetForegroundWindow();
        if (front == nullptr || (front != mainDialog && front != progress))
            return;
        lastForeground = front;
        raiseBoth(progress);
        ShowWindow(mainDialog, SW_SHOW);
        ShowWindow(progress, SW_SHOW);
    });
}

void closeProgress(FeedbackWindow progressWindow) {
    windowRun([&] { DestroyWindow(asWindow(progressWindow)); });
}
