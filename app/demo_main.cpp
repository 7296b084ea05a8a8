// The demo: the application with a simulated DOCK-BOX and an ORCA 75 LX attached, in real
// time, so that a whole update can be watched without hardware.
#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystem();
    simStartDemo(simDemoPathWindows);
    return runWin32Program(instance);
}
