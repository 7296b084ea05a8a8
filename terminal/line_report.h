// What a production line tells: each unit's progress and result, diagnostics, questions,
// and the tally; words on a terminal or a pipe, or JSON lines. The results' words and
// JSON are the single-unit update's too.
#pragma once

#include "terminal/line_unit.h"
#include "terminal/live_lines.h"
#include "terminal/terminal.h"

#include <memory>
#include <string>
#include <vector>

// How a unit's update ended: written, failed, skipped (the controller already current and
// no --force or person to say yes), declined (a person, or a script's answer to the
// first question, said no) or changed (after the confirmations the unit was not the one
// they were answered for: nothing written).
enum class UnitResult { Updated, Failed, Skipped, Declined, Changed };
constexpr int kUnitResults = 5;
const char* resultName(UnitResult result);
// The result of the update `session` ran last: a same-or-newer question that the rules
// answered (no --force, no person to ask) skipped it, any other no declined it.
UnitResult updateResult(const Session& session, const TerminalOptions& options,
                        bool personAtTerminal);
// Why nothing was written, for a skipped, declined or changed unit.
std::wstring notWrittenText(Language language, UnitResult result);

struct Finished {
    std::wstring path, port, product;
    UnitResult result;
    std::wstring text; // the success hint, the failure with its code line, or notWrittenText
};
// {"type":"result","device":…,"port":…,"product":…,"result":…,"text":…}, and
// "recordProblem":… where the record could not be written.
std::string resultJson(const Finished& finished, const std::wstring& recordProblem = {});

class LineReport {
  public:
    LineReport(const TerminalSetup& setup, const TerminalOptions& options);

    // Whether the units being written are lines redrawn in place (a terminal).
    bool drawsInPlace() const { return drawer_ != nullptr; }
    // A diagnostic on standard error, unless --quiet.
    void say(const std::wstring& text);
    // A unit begins to be written: a line to a pipe (on a terminal it joins the block).
    void started(const LineUnit& unit);
    // A unit that cannot be written: refused to this user or in use, or not ready.
    void refused(const LineUnit& unit, bool inUse);
    void notReady(const LineUnit& unit, ConnectionOutcome outcome);
    // The units being written, in the order they started.
    void redraw(const std::vector<const LineUnit*>& writing);
    // A unit's new progress state, to a pipe or as JSON: at each 10 %.
    void progress(LineUnit& unit);
    // A result on standard output, each of its lines starting with the unit's path.
    void finished(const Finished& finished);
    // A question about one unit on its own line, naming it; answered() once answered.
    void question(const LineUnit& unit, const Box& box);
    void answered(bool typed);
    // The block gone, the tally with each unit's result, and whether the station record
    // (where one is kept) was written whole, else why not; the line's exit status.
    int tally(int ended, bool recordKept, const std::wstring& recordProblem);

  private:
    std::ostream& out() { return *setup_.out; }
    std::ostream& err() { return *setup_.err; }
    void print(std::ostream& to, const std::string& text);

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    std::unique_ptr<LiveDrawer> drawer_; // on a terminal
    std::vector<Finished> results_;
};
