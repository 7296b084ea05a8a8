// The progress window of an update: a bar of the common controls, owned by the dialog.
#include "app/main_dialog.h"

#include <commctrl.h>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

} // namespace

FeedbackWindow windowOpenProgress(const std::wstring& title, int x, int y, int width, int height) {
    return CreateWindowExW(0, PROGRESS_CLASSW, title.c_str(), WS_VISIBLE | PBS_SMOOTH, x, y, width,
                           height, mainDialog, nullptr, moduleInstance, nullptr);
}

void windowShowProgress(FeedbackWindow progress, const ProgressState& state) {
    SendMessageW(asWindow(progress), PBM_SETPOS, state.percent, 0);
}

void windowCloseProgress(FeedbackWindow progress) {
    DestroyWindow(asWindow(progress));
}
