// The terminal demo: a simulated DOCK-BOX with an ORCA 75 LX attached, in real time.
#include "sim/sim_unit.h"
#include "terminal/posix_main.h"

int main(int argc, char** argv) {
    simReset();
    simSetRealTime(true);
    simAddDemoUnit(L"/dev/hidraw0");
    return runTerminalProgram(argc, argv);
}
