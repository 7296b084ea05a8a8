// The terminal edition run in-process on a command line: no input, no terminal, the wait
// between polls on the simulated clock.
#pragma once

#include "platform/platform.h"
#include "terminal/terminal.h"

#include <sstream>
#include <string>
#include <vector>

struct Ran {
    int status;
    std::string out, err;
};

inline Ran runTerminal(const std::vector<std::wstring>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    TerminalSetup setup;
    setup.in = &in;
    setup.out = &out;
    setup.err = &err;
    setup.idle = [] { platformWait(kUnitPollMs); }; // on the simulated clock
    const int status = terminalMain(args, setup);
    return {status, out.str(), err.str()};
}
