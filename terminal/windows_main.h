// The terminal edition's entry on Windows, for the product and the demo.
#pragma once

int runConsoleProgram(int argc, wchar_t** argv);
