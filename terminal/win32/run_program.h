// The terminal edition's entry on Windows, for the product and the demo: its console and
// control handler, then the program.
#pragma once

int runTerminalProgram(int argc, wchar_t** argv);
