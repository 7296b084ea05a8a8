#include "app/main_dialog.h"
#include "app/window_thread.h"
#include "platform/win32/hid_class.h"
#include "resources/resource_ids.h"

#include <dbt.h>

HWND mainDialog = nullptr;
HDEVNOTIFY deviceNotification = nullptr;

namespace {

INT_PTR controllerRowColour(HDC context, HWND control) {
    if (GetParent(control) != mainDialog || !isControllerRow(GetDlgCtrlID(control)))
        return 0;
    SetTextColor(context, asColorRef(kControllerRowColour));
    SetBkMode(context, TRANSPARENT);
    // A system colour brush: owned by the system, never to be deleted.
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

void initMainDialog(HWND window) {
    mainDialog = window;
    HICON icon = LoadIconW(moduleInstance, MAKEINTRESOURCEW(IDI_APP));
    SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));

    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = hidInterfaceClass();
    deviceNotification = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    sessionStart(deviceNotification != nullptr);
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
            sessionClose();
            return 1;
        case IDC_UPDATE:
            startUpdate();
            return 1;
        default:
            return 0;
        }
    case WM_CTLCOLORSTATIC:
        return controllerRowColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DEVICECHANGE:
        return onDeviceChange(wParam, lParam);
    default:
        handleUpdateMessage(message, lParam);
        return 0;
    }
}
