// The terminal edition's entry, for the product and the demo: on Linux from
// terminal/linux, on Windows from terminal/win32.
#pragma once

#ifdef _WIN32
int runTerminalProgram(int argc, wchar_t** argv);
#else
int runTerminalProgram(int argc, char** argv);
#endif
