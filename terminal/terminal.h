// The terminal edition's rules, for every platform: its arguments, which unit it takes,
// what it prints where, which flag answers which question, waiting for a unit, the
// production lines (one unit after another, or several at once) and their tallies, and
// the exit statuses. The console front end
// (console_front_end.h) draws the session over these streams; linux/ and win32/ hold
// each system's signals, console and entry.
#pragma once

#include "session/session.h"
#include "session/text_encoding.h"

#include <atomic>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses: the scripts' interface, stable from release to release.
enum ExitStatus : int {
    kExitOk = 0,             // ready (status), updated (update), no failure (--each)
    kExitFailed = 1,         // an update failed (in --each: at least one)
    kExitUsage = 2,          // the command line is wrong
    kExitNoUnit = 3,         // no programming unit (also: --wait timed out)
    kExitWrongMode = 4,      // the unit is in the wrong mode
    kExitNoUpdatableEsc = 5, // no updatable controller
    kExitIncompatible = 6,   // incompatible controller
    kExitDeclined = 7,       // a confirmation was declined: nothing was written
    kExitNoAccess = 8,       // a unit is present but this user may not open it
    kExitSeveralUnits = 9,   // several units and no --device
    kExitInUse = 10,         // the unit is in use by another instance of this program
    kExitInterrupted = 130,  // ended by Ctrl-C or a termination request
};

// A unit's outcome as the status it ends a command with.
int outcomeExitStatus(ConnectionOutcome outcome);

enum class TerminalCommand { Status, List, Update };

struct TerminalOptions {
    TerminalCommand command = TerminalCommand::Status;
    std::wstring device; // empty: the first unit
    bool yes = false;    // answers the first confirmation
    bool force = false;  // answers the same-or-newer confirmation
    bool json = false;
    bool quiet = false;
    bool wait = false;
    long waitSeconds = -1; // -1: until interrupted
    bool each = false;
    long count = 0;         // 0: no end
    bool parallel = false;  // --each --parallel, --all: units written at once
    long parallelLimit = 0; // 0: no limit
    bool all = false;       // every unit present and ready now, at once
    bool help = false;
    bool version = false;
};

// False with a one-line problem for a wrong command line, in the interface language.
// The arguments as the system hands them over: on Windows its UTF-16 ones as they are, on
// Linux each byte as one character, as device nodes are listed.
bool parseTerminalArguments(const std::vector<std::wstring>& args, TerminalOptions& options,
                            std::wstring& problem);

// What a program's entry point hands one run: its streams; whether standard error is a
// terminal (`interactive`: lines that rewrite themselves, questions for the production
// lines); the flag its signal or console handler sets (Ctrl-C, Ctrl-Break, SIGTERM,
// SIGHUP), acted on by the run's own thread only, before an update ends the run, during
// one refused; and what to do about every 500 ms while waiting for a unit (by default a
// platform wait).
struct TerminalSetup {
    std::istream* in = nullptr;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    bool interactive = false;
    std::atomic<bool>* interrupt = nullptr;
    std::function<void()> idle;
};

// The parallel production line (terminal/parallel_line.cpp): every ready unit written at
// once, each on its own session; returns the exit status after the tally.
int parallelLine(const TerminalSetup& setup, const TerminalOptions& options);

// The whole program on these streams; returns its exit status. Runs the window's thread
// (the caller's) until the end.
int terminalMain(const std::vector<std::wstring>& args, const TerminalSetup& setup);

// Its texts are the string table's (resources/texts.h), in the interface language.

// Whether a progress line is due to a pipe or a log: at each new ten percent, 100 once.
bool tenPercentStep(std::uint32_t& lastTenth, std::uint32_t percent);
// An answer typed at a prompt: y, yes; in German also j, ja (any letter case, trailing
// blanks ignored). Anything else declines.
bool isYes(std::string answer);
// Whether a box is answered by a flag, by the user at a prompt, or shown as a result.
enum class BoxAnswer { Prompt, Yes, No, Show };
BoxAnswer boxAnswer(BoxId box, const TerminalOptions& options);
