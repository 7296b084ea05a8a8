// The terminal demo: a simulated DOCK-BOX with an ORCA 75 LX attached, in real time.
#include "sim/sim_unit.h"
#include "terminal/linux/run_program.h"

int main(int argc, char** argv) {
    simStartDemo(simDemoPathLinux, simDemoUnitsAsked());
    return runTerminalProgram(argc, argv);
}
