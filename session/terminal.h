// The terminal edition's rules, for every platform: its arguments, which unit it takes,
// what it prints where, which flag answers which question, waiting for a unit, the
// production line and its tally, and the exit statuses. The terminal front end
// (terminal/) implements session/window.h over these streams.
#pragma once

#include "session/session.h"

#include <atomic>
#include <functional>
#include <iosfwd>
#include <map>
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
    long count = 0; // 0: no end
    bool help = false;
    bool version = false;
};

// False with a one-line problem for a wrong command line.
bool parseTerminalArguments(const std::vector<std::string>& args, TerminalOptions& options,
                            std::string& problem);

// The streams and settings of one run. `interactive`: the error stream is a terminal
// (a self-updating progress line, prompts for --each); `promptsPossible`: answers may come
// on the input stream.
struct Terminal {
    std::istream* in = nullptr;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    bool interactive = false;
    bool german = false;
    TerminalOptions options;
    // Called about every 500 ms while waiting for a unit; by default a platform wait.
    std::function<void()> idle;
    // What the session set: control texts by id, the hint, and OK boxes (reasons and
    // results) not yet printed.
    std::map<int, std::wstring> controls;
    std::wstring hint;
    struct Message {
        std::wstring text, caption;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    bool sameOrNewerDeclined = false; // the last update ended at that question
    bool stopAfterUpdate = false;     // an interrupt was refused during the update
};
extern Terminal terminal;

// Set from a signal or console handler: Ctrl-C, Ctrl-Break, SIGTERM, SIGHUP. Acted on by
// the program's own thread only: before an update ends the run, during one is refused.
extern std::atomic<bool> terminalInterruptRequested;

// The whole program on these streams; returns its exit status. Runs the window's thread
// (the caller's) until the end.
int terminalMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, bool interactive, bool german);

// The terminal's own texts, English or German by terminal.german.
enum class TerminalText {
    Usage,
    UsageError,
    PromptAnswers,
    Declined,
    SkippedSameOrNewer,
    OthersPresent,
    ChooseDevice,
    NoAccess,
    NoAccessHow,
    InUse,
    NotInList,
    WaitingFor,
    InterruptRefused,
    RemoveUnit,
    Tally,
    Progress,
    ProgressStart,
    NotPossible,
    ProductLine,
};
std::wstring terminalText(TerminalText text);

// A text as UTF-8, its "\r\n" line breaks as "\n".
std::string terminalLine(const std::wstring& text);
// A JSON string literal of a text, line breaks as "\n".
std::string jsonString(const std::wstring& text);
// Whether the window's thread should take the answer to a box from a flag, and which.
enum class BoxAnswer { Prompt, Yes, No, Show };
BoxAnswer boxAnswer(MessageButtons buttons);
