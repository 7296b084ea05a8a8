// The terminal edition's command line, and which flag or person answers which question.
#pragma once

#include "resources/texts.h"
#include "session/front_end.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TerminalCommand { Status, List, Update, Report };

struct TerminalOptions {
    TerminalCommand command = TerminalCommand::Status;
    std::wstring device; // empty: the first unit
    std::vector<std::wstring> ports; // not empty: only the units on these USB ports
    std::wstring log; // not empty: the station record to append to
    std::vector<std::wstring> logs; // report: the records to read
    std::wstring station; // the record's station; empty: the host's name
    std::wstring trace; // not empty: support's trace to append to
    bool yes = false;    // answers the first confirmation
    bool force = false;  // answers the same-or-newer confirmation
    bool json = false;
    bool quiet = false;
    bool wait = false;
    std::int64_t waitSeconds = -1; // -1: until interrupted
    bool each = false;
    long count = 0;         // 0: no end
    bool parallel = false;  // --each --parallel, --all: units written at once
    long parallelLimit = 0; // 0: no limit
    bool all = false;       // every unit present and ready now, at once
    bool help = false;
    bool version = false;
};

// Numbers on the command line (--wait, --count, --parallel) have at most this many digits.
constexpr std::size_t kLargestNumberDigits = 9;

// False with a one-line problem for a wrong command line, in the interface language.
// The arguments as the system hands them over: on Windows its UTF-16 ones as they are, on
// Linux read as UTF-8 (terminal/linux/system_text.h). An empty value is a problem.
bool parseTerminalArguments(const std::vector<std::wstring>& args, Language language,
                            TerminalOptions& options, std::wstring& problem);

// An answer typed at a prompt: y, yes; in German also j, ja (any letter case, trailing
// blanks ignored). Anything else declines.
bool isYes(std::string answer, Language language);
// Whether a box is answered by a flag, by the user at a prompt, or shown as a result.
// `personAtTerminal`: standard input and standard error are a terminal, so that a person
// reads the question and types the answer.
enum class BoxAnswer { Prompt, Yes, No, Show };
BoxAnswer boxAnswer(BoxId box, const TerminalOptions& options, bool personAtTerminal);
