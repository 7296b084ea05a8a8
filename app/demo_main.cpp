// The demo: the application with a simulated DOCK-BOX and an ORCA 75 LX attached, in real
// time, so that a whole update can be watched without hardware.
#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystem();
    simReset();
    simSetRealTime(true);
    simAddDemoUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#demo#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    return runApplication(instance);
}
