// Signals and streams of the terminal edition on Linux.
#include "terminal/linux/run_program.h"

#include "resources/texts.h"
#include "terminal/linux/system_text.h"
#include "terminal/screen_drawer.h"
#include "terminal/terminal.h"

#include <csignal>
#include <poll.h>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

// Set by the signal handler, read by the run: a signal handler reaches nothing else.
std::atomic<bool> interruptRequested{false};

void requestInterrupt(int) {
    interruptRequested = true;
}

// Ctrl-C, SIGTERM and a dropped SSH connection ask the program to end; none of them
// restarts a read, so a prompt waiting for input gives way. A closed pipe, suspension or a
// file-size limit (SIGXFSZ) never stops a write in progress: the program ignores them and
// checks its writes, which then fail (EPIPE, EFBIG) like any other.
void installSignalHandlers() {
    struct sigaction ask {};
    ask.sa_handler = requestInterrupt;
    sigemptyset(&ask.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &ask, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (int signal : {SIGPIPE, SIGTSTP, SIGTTOU, SIGTTIN, SIGXFSZ})
        sigaction(signal, &ignore, nullptr);
}

} // namespace

int runTerminalProgram(int argc, char** argv) {
    installSignalHandlers();
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(systemText(argv[i]));
    TerminalSetup setup;
    setup.language = interfaceLanguage();
    setup.in = &std::cin;
    setup.out = &std::cout;
    setup.err = &std::cerr;
    setup.interactive = isatty(STDERR_FILENO) == 1;
    setup.inputIsTerminal = isatty(STDIN_FILENO) == 1;
    setup.outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    setup.colour = showsColour(std::getenv("NO_COLOR"), std::getenv("TERM"));
    setup.interrupt = &interruptRequested;
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        setup.hostName = systemText(host);
    setup.processId = static_cast<std::uint32_t>(getpid());
    // Device changes from udev's monitor, which hears only what a running udevd announces;
    // without one (a container), and on the demo's simulated bus, which has no watch, the
    // run looks at what is plugged in every kUnitPollMs.
    HotPlugWatch* watch =
        access("/run/udev/control", F_OK) == 0 ? platformWatchHotPlug(nullptr) : nullptr;
    if (watch != nullptr) {
        setup.idle = [watch] {
            pollfd changes{platformHotPlugDescriptor(watch), POLLIN, 0};
            poll(&changes, 1, static_cast<int>(kUnitPollMs)); // a signal ends it early too
        };
        setup.nextChange = [watch](HotPlugEvent& event) {
            return platformNextHotPlug(watch, event);
        };
    }
    const int status = terminalMain(args, setup);
    platformStopHotPlug(watch);
    return status;
}
