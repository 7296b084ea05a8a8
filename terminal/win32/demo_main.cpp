// The terminal demo: a simulated DOCK-BOX with an ORCA 75 LX attached, in real time.
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"
#include "terminal/win32/run_program.h"

int wmain(int argc, wchar_t** argv) {
    restrictDllSearchToSystem();
    simStartDemo(simDemoPathWindows, simDemoUnitsAsked());
    return runTerminalProgram(argc, argv);
}
