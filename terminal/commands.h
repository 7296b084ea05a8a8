// The list of every unit (list). Status, the update and the production line are the
// engine's (line.h).
#pragma once

#include "terminal/station_files.h"
#include "terminal/terminal.h"

// Each unit as status describes it, one line each; its exit status.
int listCommand(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files);
