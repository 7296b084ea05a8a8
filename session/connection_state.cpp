#include "session/session.h"

#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/updater_profile.h"

#include <deque>

namespace {

struct HeldNotification {
    DeviceChange change;
    std::wstring path;
};

std::deque<HeldNotification> held;
ConnectionOutcome shown = ConnectionOutcome::NoUnit;
int boxesHolding = 0;
bool processingHeld = false;

const unsigned kOutcomeText[] = {IDS_HINT_NO_UNIT, IDS_HINT_WRONG_MODE, IDS_HINT_NO_UPDATABLE_ESC,
                                 IDS_HINT_INCOMPATIBLE};

void showHintWithInstructions(unsigned textId) {
    windowSetHint(loadText(textId) + L"\r\n\r\n");
    appendInstructions();
}

void onArrival() {
    if (unitIsOpen(unitConnection))
        return; // even a second unit waits until the open one is gone
    const int result = openUnit(unitConnection);
    if (result != 0)
        return; // a device whose identification failed stays open until its removal
    showConnectionState(0);
}

void onRemoval(const std::wstring& path) {
    if (!unitIsOpen(unitConnection) || !samePath(path, unitConnection.devicePath))
        return;
    shown = ConnectionOutcome::NoUnit;
    leaveReady(true);
    showHintWithInstructions(IDS_HINT_CONNECTION_LOST);
}

void handle(const HeldNotification& n) {
    if (n.change == DeviceChange::Arrival)
        onArrival();
    else
        onRemoval(n.path);
}

bool mustHold() {
    return boxesHolding > 0 || updateRunning() || processingHeld;
}

} // namespace

ConnectionOutcome connectionOutcome(int openResult) {
    if (openResult != 0)
        return ConnectionOutcome::NoUnit;
    if (unitConnection.unitInBootloader != 0)
        return ConnectionOutcome::UnitWrongMode;
    if (unitConnection.escState != kEscStateUpdatable)
        return ConnectionOutcome::NoUpdatableEsc;
    if (!isAcceptedTypeCode(escTypeCode(unitConnection)))
        return ConnectionOutcome::EscIncompatible;
    return ConnectionOutcome::ReadyToUpdate;
}

ConnectionOutcome currentOutcome() {
    // A failed update closes the ready unit.
    if (shown == ConnectionOutcome::ReadyToUpdate && !unitIsOpen(unitConnection))
        return ConnectionOutcome::NoUnit;
    return shown;
}

void showConnectionState(int openResult) {
    const ConnectionOutcome outcome = connectionOutcome(openResult);
    shown = outcome;
    if (outcome == ConnectionOutcome::ReadyToUpdate) {
        windowSetHint(loadText(IDS_HINT_READY));
        windowEnable(IDC_UPDATE, true);
        refreshVersions();
        return;
    }
    windowEnable(IDC_UPDATE, false);
    closeUnit(unitConnection);
    if (outcome == ConnectionOutcome::EscIncompatible)
        messageBoxHoldingNotifications(
            formatText(loadText(IDS_INCOMPATIBLE_MESSAGE), {updaterProfile.modelName}),
            loadText(IDS_INCOMPATIBLE_CAPTION), MessageIcon::Information);
    showHintWithInstructions(kOutcomeText[static_cast<int>(outcome)]);
    refreshVersions();
    processHeldNotifications();
}

void leaveReady(bool closeTheUnit) {
    if (closeTheUnit)
        closeUnit(unitConnection);
    windowEnable(IDC_UPDATE, false);
    refreshVersions();
}

void appendInstructions() {
    windowSetHint(windowHint() + loadText(IDS_HINT_INSTRUCTIONS));
}

void messageBoxHoldingNotifications(const std::wstring& text, const std::wstring& caption,
                                    MessageIcon icon) {
    ++boxesHolding;
    windowMessageBox(text, caption, icon, MessageButtons::Ok);
    --boxesHolding;
}

void handleDeviceChange(DeviceChange change, const std::wstring& path) {
    // Handled now, a notification would race the code that opened a message box to the
    // hint box, or pull the unit from under an update.
    if (mustHold()) {
        held.push_back({change, path});
        return;
    }
    handle({change, path});
}

void processHeldNotifications() {
    if (mustHold())
        return;
    processingHeld = true;
    while (!held.empty()) {
        HeldNotification n = held.front();
        held.pop_front();
        handle(n);
    }
    processingHeld = false;
}
