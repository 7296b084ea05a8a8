// The commands on one unit, and the list of every unit: status, list, update; each to its
// exit status. The production line is line.h's.
#pragma once

#include "terminal/station_files.h"
#include "terminal/terminal.h"

// An update's unit goes into the record before its result is printed, where there is one;
// the unit's reports and waits into the trace.
int unitCommand(const TerminalSetup& setup, const TerminalOptions& options,
                StationFiles& files);
