// The engine of every command on units: the single update (a line of one), status, and
// the production line. Every unit that becomes ready is written, each by its own session
// on its own worker, up to a number at once (one for --each and a single update, any for
// --parallel and --all); the engine's own thread draws them all, asks their questions and
// starts the next ones as they arrive. One unit's failure, removal or silence reaches only
// its own result.
#pragma once

#include "terminal/station_files.h"
#include "terminal/terminal.h"

// status, update of one unit, or the whole line (--each, --all) to its exit status. Each
// finished unit goes into the record first, where there is one (--log), its result into
// the trace, then it is told; each unit's reports and waits go into the trace.
int runUnits(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files);
