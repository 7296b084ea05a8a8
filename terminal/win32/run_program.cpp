// Console, Ctrl-C and language of the terminal edition on Windows.
#include "terminal/win32/run_program.h"

#include "resources/resource_ids.h"
#include "resources/texts.h"
#include "terminal/screen_drawer.h"
#include "terminal/terminal.h"
#include "terminal/win32/device_changes.h"

#include <windows.h>

#include <cstdlib>
#include <iostream>

namespace {

// Set by the console's handler thread, read by the run.
std::atomic<bool> interruptRequested{false};

// Ctrl-C and Ctrl-Break ask the program to end; a closed console window cannot be
// refused, and Windows ends the process once this returns.
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interruptRequested = true;
    return TRUE;
}

} // namespace

int runTerminalProgram(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    DWORD mode = 0;
    const bool interactive = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    // The system's UTF-16 arguments as they are: a device path round-trips.
    std::vector<std::wstring> args(argv + 1, argv + argc);
    TerminalSetup setup;
    setup.language = interfaceLanguage();
    setup.in = &std::cin;
    setup.out = &std::cout;
    setup.err = &std::cerr;
    setup.interactive = interactive;
    setup.inputIsTerminal = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    setup.outputIsTerminal = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
    setup.colour = showsColour(std::getenv("NO_COLOR"), std::getenv("TERM"));
    setup.interrupt = &interruptRequested;
    wchar_t host[256] = {};
    DWORD hostLength = 256;
    if (GetComputerNameExW(ComputerNameDnsHostname, host, &hostLength) != 0)
        setup.hostName.assign(host, hostLength);
    setup.processId = GetCurrentProcessId();
    // Device notifications, to a message-only window of this thread; the demo's simulated
    // bus has none, and the run then looks at what is plugged in every kUnitPollMs.
    ConsoleDeviceChanges changes;
    if (startDeviceChanges(changes)) {
        setup.idle = [&changes] { awaitDeviceChanges(changes, kUnitPollMs); };
        setup.nextChange = [&changes](HotPlugEvent& event) {
            return nextDeviceChange(changes, event);
        };
    }
    const int status = terminalMain(args, setup);
    stopDeviceChanges(changes);

    // Started by a double click, the console is this program's alone and closes with it:
    // the result stays readable until Enter.
    DWORD processes[2];
    if (interactive && GetConsoleProcessList(processes, 2) == 1) {
        std::cerr << utf8Lines(loadText(setup.language, IDS_CLI_PRESS_ENTER)) << std::flush;
        std::string line;
        std::getline(std::cin, line);
    }
    return status;
}
