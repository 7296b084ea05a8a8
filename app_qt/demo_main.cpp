// The demo: the application with a simulated DOCK-BOX and an ORCA 75 LX attached, in real
// time, so that a whole update can be watched without hardware.
#include "app_qt/entry.h"
#include "sim/sim_unit.h"

int main(int argc, char** argv) {
    simReset();
    simSetRealTime(true);
    simAddDemoUnit(L"/dev/hidraw0");
    return runQtProgram(argc, argv, false);
}
