// Signals and streams of the terminal edition on Linux.
#include "terminal/linux/run_program.h"

#include "resources/texts.h"
#include "terminal/terminal.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

// Set by the signal handler, read by the run: a signal handler reaches nothing else.
std::atomic<bool> interruptRequested{false};

void requestInterrupt(int) {
    interruptRequested = true;
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
    // Each byte one character, as the device list spells device nodes.
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg;
        for (const char* c = argv[i]; *c != '\0'; ++c)
            arg.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
        args.push_back(arg);
    }
    TerminalSetup setup;
    setup.language = interfaceLanguage();
    setup.in = &std::cin;
    setup.out = &std::cout;
    setup.err = &std::cerr;
    setup.interactive = isatty(STDERR_FILENO) == 1;
    setup.inputIsTerminal = isatty(STDIN_FILENO) == 1;
    setup.interrupt = &interruptRequested;
    return terminalMain(args, setup);
}
