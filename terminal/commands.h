// The commands on one unit, and the list of every unit: status, list, update; each to its
// exit status. The production line is line.h's.
#pragma once

#include "terminal/record_file.h"
#include "terminal/terminal.h"

// An update's unit goes into `record` before its result is printed, where there is one.
int unitCommand(const TerminalSetup& setup, const TerminalOptions& options, RecordFile* record);
