// What the update shows: confirmations, the progress window and the final report.
#include "app/main_dialog.h"
#include "app/update_runner.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND asWindow(FeedbackWindow window) {
    return static_cast<HWND>(window);
}

void raiseBoth(HWND progress) {
    SetWindowPos(mainDialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SetWindowPos(progress, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace

bool confirmWarning(const std::wstring& caption, const std::wstring& text, ConfirmButtons buttons) {
    const UINT type =
        MB_ICONWARNING | (buttons == ConfirmButtons::OkCancel ? MB_OKCANCEL : MB_YESNO);
    bool accepted = false;
    runOnUserInterface([&] {
        const int answer = MessageBoxW(mainDialog, text.c_str(), caption.c_str(), type);
        accepted = answer == (buttons == ConfirmButtons::OkCancel ? IDOK : IDYES);
    });
    return accepted;
}

POINT progressWindowPlace(const RECT& dialog) {
    return {dialog.left + ((dialog.right - dialog.left) >> 1) - 200,
            dialog.top + ((dialog.bottom - dialog.top) >> 1) - 25};
}

FeedbackWindow openProgress() {
    HWND progress = nullptr;
    runOnUserInterface([&] {
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
    runOnUserInterface([&] {
        SendMessageW(asWindow(progressWindow), PBM_SETPOS, progressPercent(total, remaining), 0);
    });
}

void keepOnTop(FeedbackWindow progressWindow, FeedbackWindow& lastForeground) {
    HWND progress = asWindow(progressWindow);
    HWND last = asWindow(lastForeground);
    if (last == mainDialog || (last != nullptr && last == progress))
        return;
    runOnUserInterface([&] {
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
    runOnUserInterface([&] { DestroyWindow(asWindow(progressWindow)); });
}

void reportUpdateSuccess() {
    runOnUserInterface([] {
        enableUpdateButton(false);
        refreshVersions();
        setHint(loadString(IDS_HINT_UPDATE_DONE));
    });
}

void reportUpdateFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                         std::uint32_t lastError) {
    runOnUserInterface([&] {
        closeUnit(unitConnection);
        enableUpdateButton(false);
        refreshVersions();
        wchar_t message[2048];
        wcscpy_s(message, 2048, text.c_str());
        if (code != -1) {
            wchar_t line[2048];
            swprintf_s(line, 2048, loadString(IDS_ERROR_CODE_LINE).c_str(),
                       static_cast<unsigned>(code), static_cast<unsigned>(lastError));
            wcscat_s(message, 2048, L"\r\n");
            wcscat_s(message, 2048, line);
        }
        messageBoxHoldingNotifications(message, caption, MB_ICONERROR | MB_OK);
        setHint(loadString(IDS_HINT_UPDATE_FAILED));
        processHeldNotifications();
    });
}
