// The worker reaches the dialog's thread by SendMessageW, which waits until the work has
// run there.
#include "app/main_dialog.h"
#include "app/window_thread.h"

void Win32Window::run(const std::function<void()>& work) {
    if (GetCurrentThreadId() == GetWindowThreadProcessId(dialog_, nullptr)) {
        work();
        return;
    }
    SendMessageW(dialog_, kRunOnUserInterface, 0,
                 reinterpret_cast<LPARAM>(const_cast<std::function<void()>*>(&work)));
}

void Win32Window::postUpdateEnded() {
    PostMessageW(dialog_, kUpdateEnded, 0, 0);
}
