// The demo: the application with a simulated DOCK-BOX and an ORCA 75 LX attached, in real
// time, so that a whole update can be watched without hardware.
#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystem();
    simReset();
    simSetRealTime(true);
    SimUnitConfig orca;
    orca.productId = 2;
    orca.escState = 3;
    orca.typeCode = 0x1422605A;
    orca.escFirmwareVersion = 0x0205;
    orca.bootloaderVersion = 0x00000105;
    simAddUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#demo#{4d1e55b2-f16f-11cf-88cb-001111000030}", orca);
    return runApplication(instance);
}
