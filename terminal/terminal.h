// The terminal edition, for every platform: what its entry points and its tests call. Its
// rules live by job beside this header: the command line and who answers which question
// (options.h), exit statuses (exit_status.h), choosing a unit (unit_choice.h), the engine
// of status, update and the production line (line.h) with its units and their one front
// end (line_unit.h), what it tells (line_report.h, single_report.cpp) and the questions
// and answers (answer_reader.h), results named (unit_result.h), as JSON (result_json.h)
// and tallied (tally.h), the record and the trace (station_files.h), the list (commands.h),
// the live block (live_lines.h) and what is shown of names (shown_text.h). linux/ and
// win32/ hold each system's signals, console, files and entry.
#pragma once

#include "platform/platform.h"
#include "resources/texts.h"
#include "session/text_encoding.h"
#include "terminal/exit_status.h"
#include "terminal/options.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// How often what is plugged in is looked at while waiting for a unit.
constexpr std::uint32_t kUnitPollMs = 500;

// What a program's entry point hands one run: the language it found; its streams; whether
// standard error is a
// terminal (`interactive`: lines that rewrite themselves, questions for the production
// line) and whether standard input is one too (only then does a person answer the
// same-or-newer question); the flag its signal or console handler sets (Ctrl-C,
// Ctrl-Break, SIGTERM, SIGHUP), acted on by the run's own thread only, before an update
// ends the run, during one refused; and what to do about every kUnitPollMs while waiting
// for a unit (by default a platform wait). Where the platform tells of device changes
// (udev's monitor, a console's device notifications), `nextChange` takes the next one that
// waits (false when none does), `idle` ends early when one comes, and what is plugged in is
// looked at only then; null where nothing tells (the simulated bus): then it is looked at
// every kUnitPollMs.
struct TerminalSetup {
    Language language = Language::English;
    std::istream* in = nullptr;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    bool interactive = false;
    bool colour = false; // the terminal shows colour (showsColour)
    bool outputIsTerminal = false; // standard output too: then the screen holds its lines back
    std::size_t screenColumns = 0, screenRows = 0; // the station screen's size; 0: the terminal's
    bool inputIsTerminal = false;
    std::atomic<bool>* interrupt = nullptr;
    std::function<void()> idle;
    std::function<bool(HotPlugEvent&)> nextChange;
    // Who runs: the host's name (the record's station unless --station names one) and
    // this process.
    std::wstring hostName;
    std::uint32_t processId = 0;

    bool personAtTerminal() const { return interactive && inputIsTerminal; }
};

// The whole program on these streams; returns its exit status. Runs the window's thread
// (the caller's) until the end.
int terminalMain(const std::vector<std::wstring>& args, const TerminalSetup& setup);
