// What a production line tells: each unit's progress and result, diagnostics, questions,
// and the tally; words on a terminal or a pipe, or JSON lines.
#pragma once

#include "terminal/line_unit.h"
#include "terminal/live_lines.h"
#include "terminal/tally.h"
#include "terminal/terminal.h"

#include <memory>
#include <string>
#include <vector>

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
    Tally tally_;
};
