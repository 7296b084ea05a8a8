// The Update button. The confirmations are message boxes on the window's thread;
// everything from the lock on runs on a worker thread, so that the window keeps answering
// during the 46 s of an update. The worker reaches the window only through the update's
// feedback operations, each of which runs on the window's thread by windowRun.
#include "session/session.h"

#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <algorithm>
#include <thread>

namespace {

std::thread worker;
bool running = false;
UpdateEnd lastEnd = UpdateEnd::None;

} // namespace

bool updateRunning() {
    return running;
}

UpdateEnd lastUpdateEnd() {
    return lastEnd;
}

bool closeAllowed() {
    return !running; // the update runs to its end
}

void startUpdate() {
    if (running)
        return;
    UpdatePlan plan;
    lastEnd = UpdateEnd::Declined; // until a report says otherwise
    if (!prepareUpdate(plan))
        return;
    running = true;
    windowEnable(IDC_UPDATE, false);
    worker = std::thread([plan] {
        writeUpdate(plan);
        windowPostUpdateEnded();
    });
}

void finishUpdate() {
    if (worker.joinable())
        worker.join();
    running = false;
    processHeldNotifications();
}

bool confirmWarning(const std::wstring& caption, const std::wstring& text, ConfirmButtons buttons) {
    bool accepted = false;
    windowRun([&] {
        accepted = windowMessageBox(text, caption, MessageIcon::Warning,
                                    buttons == ConfirmButtons::OkCancel ? MessageButtons::OkCancel
                                                                        : MessageButtons::YesNo);
    });
    return accepted;
}

void reportUpdateSuccess() {
    windowRun([] {
        lastEnd = UpdateEnd::Succeeded;
        leaveReady(false);
        windowSetHint(loadText(IDS_HINT_UPDATE_DONE));
    });
}

void reportUpdateFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                         std::uint32_t lastError) {
    windowRun([&] {
        lastEnd = UpdateEnd::Failed;
        leaveReady(true);
        std::wstring message = text;
        if (code != -1)
            message += L"\r\n" + formatText(loadText(IDS_ERROR_CODE_LINE),
                                            {static_cast<std::uint32_t>(code), lastError});
        message.resize(std::min<std::size_t>(message.size(), kLongestText));
        messageBoxHoldingNotifications(message, caption, MessageIcon::Error);
        windowSetHint(loadText(IDS_HINT_UPDATE_FAILED));
        processHeldNotifications();
    });
}
