// Start-up and close of the main window, the same for every front end.
#include "session/session.h"

#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"

void sessionPrepare() {
    closeUnit(unitConnection);
}

void sessionLabelWindow() {
    windowSetTitle(windowTitle());
    windowSetText(IDC_UNIT_LABEL, loadText(IDS_LABEL_UNIT));
    windowSetText(IDC_BOOTLOADER_LABEL, loadText(IDS_LABEL_BOOTLOADER));
    windowSetText(IDC_ESC_LABEL, loadText(IDS_LABEL_ESC));
}

bool sessionStart(bool hotPlugWatched) {
    sessionLabelWindow();
    // Without arrivals and removals the window could never follow the unit.
    if (!hotPlugWatched) {
        windowMessageBox(loadText(IDS_REGISTRATION_FAILED),
                         loadText(IDS_REGISTRATION_FAILED_CAPTION), MessageIcon::Error,
                         MessageButtons::Ok);
        closeUnit(unitConnection);
        windowEnd(1);
        return false;
    }
    sessionConnect({});
    return true;
}

void sessionConnect(const std::wstring& onlyPath) {
    showConnectionState(onlyPath.empty() ? openUnit(unitConnection)
                                         : openUnitAt(unitConnection, onlyPath));
}

bool sessionClose() {
    if (!closeAllowed())
        return false;
    windowStopDeviceChanges();
    closeUnit(unitConnection);
    windowEnd(IDC_CLOSE);
    return true;
}
