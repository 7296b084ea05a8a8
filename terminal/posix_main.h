// The terminal edition's entry on Linux, for the product and the demo.
#pragma once

int runTerminalProgram(int argc, char** argv);
