// The terminal edition's exit statuses: the scripts' interface, stable from release to
// release.
#pragma once

#include "session/session_view.h"
#include "terminal/unit_result.h"

enum ExitStatus : int {
    kExitOk = 0,             // ready (status), updated (update), no failure (a line)
    kExitFailed = 1,         // an update failed (in a line: at least one)
    kExitUsage = 2,          // the command line is wrong
    kExitNoUnit = 3,         // no programming unit (also: --wait timed out)
    kExitWrongMode = 4,      // the unit is in the wrong mode
    kExitNoUpdatableEsc = 5, // no updatable controller
    kExitIncompatible = 6,   // incompatible controller
    kExitDeclined = 7,       // a confirmation was declined: nothing was written
    kExitNoAccess = 8,       // a unit is present but this user may not open it
    kExitSeveralUnits = 9,   // several units and no --device
    kExitInUse = 10,         // the unit is in use by another instance of this program
    kExitRecordFailed = 11,  // the station record (--log) could not be written
    kExitChanged = 12,       // after the confirmations the controller was another: nothing written
    kExitImageDamaged = 13,  // this program's image does not match its digest: nothing written
    kExitInterrupted = 130,  // ended by Ctrl-C or a termination request
};

// The status a command ends with for a unit's outcome.
int outcomeExitStatus(ConnectionOutcome outcome);
// The status `update` of one unit ends with for its result.
int resultExitStatus(UnitResult result);
// A line's: a failure among its units fails it; --all with no unit found none; otherwise
// how it `ended` (done, out of time, interrupted).
int lineExitStatus(std::uint32_t failed, std::size_t finished, bool all, int ended);
