// The demo: the application with a simulated DOCK-BOX and an ORCA 75 LX attached, in real
// time, so that a whole update can be watched without hardware.
#include "app_qt/main_window.h"
#include "sim/sim_unit.h"

int main(int argc, char** argv) {
    simStartDemo(simDemoPathLinux);
    return runQtProgram(argc, argv, false);
}
