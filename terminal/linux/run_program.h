// The terminal edition's entry on Linux, for the product and the demo: its signals and
// streams, then the program.
#pragma once

int runTerminalProgram(int argc, char** argv);
