// The worker reaches the dialog's thread by SendMessageW, which waits, so the order of
// requests, waits and progress stays that of the update.
#include "app/main_dialog.h"
#include "app/update_runner.h"

void windowRun(const std::function<void()>& work) {
    if (!updateRunning() || GetCurrentThreadId() == GetWindowThreadProcessId(mainDialog, nullptr)) {
        work();
        return;
    }
    SendMessageW(mainDialog, kRunOnUserInterface, 0,
                 reinterpret_cast<LPARAM>(const_cast<std::function<void()>*>(&work)));
}

void windowPostUpdateEnded() {
    PostMessageW(mainDialog, kUpdateEnded, 0, 0);
}

bool handleUpdateMessage(UINT message, LPARAM lParam) {
    if (message == kRunOnUserInterface) {
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return true;
    }
    if (message == kUpdateEnded) {
        finishUpdate();
        return true;
    }
    return false;
}
