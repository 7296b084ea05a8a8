// The terminal demo: a simulated DOCK-BOX with an ORCA 75 LX attached, in real time.
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"
#include "terminal/windows_main.h"

int wmain(int argc, wchar_t** argv) {
    restrictDllSearchToSystem();
    simReset();
    simSetRealTime(true);
    simAddDemoUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#demo#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    return runConsoleProgram(argc, argv);
}
