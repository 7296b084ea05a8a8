// The Update button. The confirmations are message boxes on the user-interface thread;
// everything from the lock on runs on a worker thread, so that the window keeps
// answering during the 46 s of an update and Windows never marks it Not Responding. The
// worker reaches the window only through runOnUserInterface.
#include "app/main_dialog.h"
#include "app/update_runner.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <thread>

namespace {

std::thread worker;
bool running = false;
DWORD userInterfaceThread = 0;

} // namespace

bool updateRunning() {
    return running;
}

void runOnUserInterface(const std::function<void()>& work) {
    if (GetCurrentThreadId() == userInterfaceThread || !running) {
        work();
        return;
    }
    SendMessageW(mainDialog, kRunOnUserInterface, 0,
                 reinterpret_cast<LPARAM>(const_cast<std::function<void()>*>(&work)));
}

void startUpdate() {
    if (running)
        return;
    userInterfaceThread = GetCurrentThreadId();
    UpdatePlan plan;
    if (!prepareUpdate(plan))
        return;
    running = true;
    enableUpdateButton(false);
    worker = std::thread([plan] {
        writeUpdate(plan);
        PostMessageW(mainDialog, kUpdateEnded, 0, 0);
    });
}

bool handleUpdateMessage(UINT message, LPARAM lParam) {
    if (message == kRunOnUserInterface) {
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return true;
    }
    if (message == kUpdateEnded) {
        if (worker.joinable())
            worker.join();
        running = false;
        processHeldNotifications();
        return true;
    }
    return false;
}
