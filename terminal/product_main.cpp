// The terminal edition: the real programming unit through the platform's HID access.
#include "terminal/posix_main.h"

int main(int argc, char** argv) {
    return runTerminalProgram(argc, argv);
}
