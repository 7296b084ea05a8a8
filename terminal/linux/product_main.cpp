// The terminal edition: the real programming unit through hidraw.
#include "terminal/run_program.h"

int main(int argc, char** argv) {
    return runTerminalProgram(argc, argv);
}
