// The terminal edition: the real programming unit through hidraw.
#include "terminal/linux/run_program.h"

int main(int argc, char** argv) {
    return runTerminalProgram(argc, argv);
}
