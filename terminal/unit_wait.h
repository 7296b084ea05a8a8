// Waiting for a unit that is ready to update, for a command on one unit.
#pragma once

#include "terminal/console_front_end.h"
#include "terminal/unit_choice.h"

// What connectReady returns when the session's unit is ready to update.
constexpr int kUnitReady = -1;

// Connects `session` as the window does; with --wait until a unit is ready, saying each
// other state once, and asking a unit again only when something was plugged in or out.
// kUnitReady, or the exit status: kExitNoUnit also when the wait ran out, kExitInterrupted
// when interrupted. `connected` tells whether the session showed an outcome to print.
// `oneOfSeveral` as for chooseUnit.
int connectReady(Session& session, ConsoleFrontEnd& frontEnd, const TerminalSetup& setup,
                 const TerminalOptions& options, const Voice& voice, bool oneOfSeveral,
                 bool& connected);
