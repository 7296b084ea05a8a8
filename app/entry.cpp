#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"

void initCommonControls() {
    using InitCommonControlsFn = void(WINAPI*)();
    static auto init = systemFunction<InitCommonControlsFn>(L"comctl32.dll", "InitCommonControls");
    if (init)
        init();
}

int runWin32Program(HINSTANCE instance) {
    initCommonControls();
    Win32Window window(instance);
    const INT_PTR status = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                           mainDialogProc, reinterpret_cast<LPARAM>(&window));
    return status == kEndHotPlugUnavailable ? kEndHotPlugUnavailable : kEndClosed;
}
