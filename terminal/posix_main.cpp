// Signals and streams of the Linux terminal edition.
#include "terminal/posix_main.h"

#include "resources/locale_texts.h"
#include "session/terminal.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

void requestInterrupt(int) {
    terminalInterruptRequested = true;
}

// Ctrl-C, SIGTERM and a dropped SSH connection ask the program to end; none of them
// restarts a read, so a prompt waiting for input gives way. A closed pipe or suspension
// never stops a write in progress: the program ignores them and checks its writes.
void installSignalHandlers() {
    struct sigaction ask {};
    ask.sa_handler = requestInterrupt;
    sigemptyset(&ask.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &ask, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (int signal : {SIGPIPE, SIGTSTP, SIGTTOU, SIGTTIN})
        sigaction(signal, &ignore, nullptr);
}

} // namespace

int runTerminalProgram(int argc, char** argv) {
    installSignalHandlers();
    const bool german = germanInterface();
    chooseLanguage(german);
    std::vector<std::string> args(argv + 1, argv + argc);
    return terminalMain(args, std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1, german);
}
