#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/updater_profile.h"

#include <dbt.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <vector>

namespace {

// A device notification kept for later: what onDeviceChange reads of it.
struct HeldNotification {
    WPARAM event;
    DWORD deviceType;
    std::wstring name;
};

std::deque<HeldNotification> held;
int boxesHolding = 0;
bool processingHeld = false;

bool isArrivalOrRemoval(WPARAM event) {
    return event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE;
}

void onArrival() {
    if (unitIsOpen(unitConnection))
        return; // even a second unit waits until the open one is gone
    const int result = openUnit(unitConnection);
    if (result != 0)
        return; // a device whose identification failed stays open until its removal
    showConnectionState(0);
}

void onRemoval(const std::wstring& name) {
    if (!unitIsOpen(unitConnection) ||
        _wcsicmp(name.c_str(), unitConnection.devicePath.c_str()) != 0)
        return;
    closeUnit(unitConnection);
    enableUpdateButton(false);
    refreshVersions();
    setHint(loadString(IDS_HINT_CONNECTION_LOST) + L"\r\n\r\n");
    appendInstructions();
}

void handle(const HeldNotification& n) {
    if (n.deviceType != DBT_DEVTYP_DEVICEINTERFACE)
        return;
    if (n.event == DBT_DEVICEARRIVAL)
        onArrival();
    else
        onRemoval(n.name);
}

bool mustHold() {
    return boxesHolding > 0 || updateRunning() || processingHeld;
}

const UINT kOutcomeText[] = {IDS_HINT_NO_UNIT, IDS_HINT_WRONG_MODE, IDS_HINT_NO_UPDATABLE_ESC,
                             IDS_HINT_INCOMPATIBLE};

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

void showConnectionState(int openResult) {
    const ConnectionOutcome outcome = connectionOutcome(openResult);
    if (outcome == ConnectionOutcome::ReadyToUpdate) {
        setHint(loadString(IDS_HINT_READY));
        enableUpdateButton(true);
        refreshVersions();
        return;
    }
    enableUpdateButton(false);
    closeUnit(unitConnection);
    if (outcome == ConnectionOutcome::EscIncompatible) {
        wchar_t message[2048];
        swprintf_s(message, 2048, loadString(IDS_INCOMPATIBLE_MESSAGE).c_str(),
                   updaterProfile.modelName);
        messageBoxHoldingNotifications(message, loadString(IDS_INCOMPATIBLE_CAPTION),
                                       MB_ICONINFORMATION | MB_OK);
    }
    setHint(loadString(kOutcomeText[static_cast<int>(outcome)]) + L"\r\n\r\n");
    appendInstructions();
    refreshVersions();
    processHeldNotifications();
}

void appendInstructions() {
    const std::wstring instructions = loadString(IDS_HINT_INSTRUCTIONS);
    HWND hint = GetDlgItem(mainDialog, IDC_HINT);
    const int length = GetWindowTextLengthW(hint);
    const std::size_t size = static_cast<std::size_t>(length) + instructions.size() + 1;
    std::vector<wchar_t> text(size, L'\0');
    GetWindowTextW(hint, text.data(), static_cast<int>(size));
    wcscat_s(text.data(), size, instructions.c_str());
    SetWindowTextW(hint, text.data());
}

int messageBoxHoldingNotifications(const std::wstring& text, const std::wstring& caption,
                                   UINT type) {
    ++boxesHolding;
    const int answer = MessageBoxW(mainDialog, text.c_str(), caption.c_str(), type);
    --boxesHolding;
    return answer;
}

LRESULT onDeviceChange(WPARAM event, LPARAM data) {
    if (!isArrivalOrRemoval(event))
        return 0;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    HeldNotification n{event, header != nullptr ? header->dbch_devicetype : 0, {}};
    if (n.deviceType == DBT_DEVTYP_DEVICEINTERFACE)
        n.name = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data)->dbcc_name;
    // Handled now, a notification would race the code that opened a message box to the
    // hint box, or pull the unit from under an update.
    if (mustHold()) {
        held.push_back(n);
        return 1;
    }
    handle(n);
    return 1;
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
