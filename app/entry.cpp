#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"

HINSTANCE moduleInstance = nullptr;

void initCommonControls() {
    using InitCommonControlsFn = void(WINAPI*)();
    static auto init = systemFunction<InitCommonControlsFn>(L"comctl32.dll", "InitCommonControls");
    if (init)
        init();
}

int runApplication(HINSTANCE instance) {
    initCommonControls();
    moduleInstance = instance;
    sessionPrepare();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainDialogProc, 0);
    return 0;
}
