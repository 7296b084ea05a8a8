// The product: the real programming unit through the system's HID drivers.
#include "app/main_dialog.h"
#include "platform/win32/system_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystem();
    return runWin32Program(instance);
}
