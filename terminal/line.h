// The production line: every unit that becomes ready is written, each by its own session
// on its own worker, up to a number at once (one for --each, any for --parallel and
// --all); the line's own thread draws them all and starts the next ones as they arrive.
// One unit's failure, removal or silence reaches only its own result.
#pragma once

#include "terminal/station_files.h"
#include "terminal/terminal.h"

// The whole line to its tally; its exit status. Each finished unit goes into the record
// first, where there is one (--log); each unit's reports and waits into the trace.
int productionLine(const TerminalSetup& setup, const TerminalOptions& options,
                   StationFiles& files);
