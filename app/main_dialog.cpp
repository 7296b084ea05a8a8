#include "app/main_dialog.h"
#include "app/update_runner.h"
#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"

#include <dbt.h>

HWND mainDialog = nullptr;
HDEVNOTIFY deviceNotification = nullptr;

namespace {

void setLabel(int control, UINT text) {
    SetDlgItemTextW(mainDialog, control, loadString(text).c_str());
}

void closeProgram(HWND window) {
    if (!closeAllowed())
        return;
    if (deviceNotification != nullptr)
        UnregisterDeviceNotification(deviceNotification);
    deviceNotification = nullptr;
    closeUnit(unitConnection);
    EndDialog(window, IDC_CLOSE);
}

INT_PTR redRowColour(HDC context, HWND control) {
    if (control != GetDlgItem(mainDialog, IDC_ESC_LABEL) &&
        control != GetDlgItem(mainDialog, IDC_ESC_VERSION))
        return 0;
    SetTextColor(context, RGB(255, 0, 0));
    SetBkMode(context, TRANSPARENT);
    // A system colour brush: owned by the system, never to be deleted.
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

void initMainDialog(HWND window) {
    mainDialog = window;
    HICON icon = LoadIconW(moduleInstance, MAKEINTRESOURCEW(IDI_APP));
    SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));

    const std::wstring title = windowTitle();
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    setLabel(IDC_UNIT_LABEL, IDS_LABEL_UNIT);
    setLabel(IDC_BOOTLOADER_LABEL, IDS_LABEL_BOOTLOADER);
    setLabel(IDC_ESC_LABEL, IDS_LABEL_ESC);

    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = hidInterfaceClass();
    deviceNotification = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (deviceNotification == nullptr) {
        MessageBoxW(window, loadString(IDS_REGISTRATION_FAILED).c_str(),
                    loadString(IDS_REGISTRATION_FAILED_CAPTION).c_str(), MB_ICONERROR);
        closeUnit(unitConnection);
        EndDialog(window, 1);
        return;
    }
    showConnectionState(openUnit(unitConnection));
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initMainDialog(window);
        return 1;
    case WM_PAINT:
        paintLogo(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CLOSE:
            closeProgram(window);
            return 1;
        case IDC_UPDATE:
            startUpdate();
            return 1;
        default:
            return 0;
        }
    case WM_CTLCOLORSTATIC:
        return redRowColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DEVICECHANGE:
        return onDeviceChange(wParam, lParam);
    default:
        handleUpdateMessage(message, lParam);
        return 0;
    }
}
