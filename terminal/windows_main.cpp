// Console, Ctrl-C and language of the Windows terminal edition.
#include "terminal/windows_main.h"

#include "session/terminal.h"

#include <windows.h>

#include <iostream>

namespace {

// Ctrl-C and Ctrl-Break ask the program to end; a closed console window cannot be
// refused, and Windows ends the process once this returns.
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    terminalInterruptRequested = true;
    return TRUE;
}

std::string narrow(const wchar_t* text) {
    std::wstring wide(text);
    return terminalLine(wide);
}

} // namespace

int runConsoleProgram(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    DWORD mode = 0;
    const bool interactive = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(narrow(argv[i]));
    const int status = terminalMain(args, std::cin, std::cout, std::cerr, interactive, german);

    // Started by a double click, the console is this program's alone and closes with it:
    // the result stays readable until Enter.
    DWORD processes[2];
    if (interactive && GetConsoleProcessList(processes, 2) == 1) {
        std::cerr << (german ? "Zum Schließen die Eingabetaste drücken." : "Press Enter to close.")
                  << std::flush;
        std::string line;
        std::getline(std::cin, line);
    }
    return status;
}
