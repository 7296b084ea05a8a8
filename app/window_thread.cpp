// The worker reaches the dialog's thread by SendMessageW, which waits until the work has
// run there.
#include "app/main_dialog.h"
#include "app/window_thread.h"

void windowRun(const std::function<void()>& work) {
    if (GetCurrentThreadId() == GetWindowThreadProcessId(mainDialog, nullptr)) {
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
