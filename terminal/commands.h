// The commands on one unit, and the list of every unit: status, list, update; each to its
// exit status. The production line is line.h's.
#pragma once

#include "terminal/terminal.h"

int unitCommand(const TerminalSetup& setup, const TerminalOptions& options);
