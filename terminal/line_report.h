// What a run tells, on standard output and error, in words or as JSON lines. A production
// line: each unit's progress and result, diagnostics, questions naming the unit, and the
// tally. The single update (and status): the unit's versions and state, the questions, one
// progress line, and its result alone.
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
    LineReport(const TerminalSetup& setup, const TerminalOptions& options, bool single);

    // Whether the units being written are lines redrawn in place (a line on a terminal).
    bool drawsInPlace() const { return drawer_ != nullptr; }
    // A diagnostic on standard error, unless --quiet; an error, always.
    void say(const std::wstring& text);
    void complain(const std::wstring& text);
    // An interrupt refused while a unit is written.
    void interruptRefused();

    // The unit's versions, socket and state with what to do, after the boxes it showed.
    void status(LineUnit& unit);
    // A unit begins to be written: a line to a pipe (on a terminal it joins the block).
    void started(const LineUnit& unit);
    // A unit that cannot be written: refused to this user or in use, or not ready.
    void refused(const LineUnit& unit, bool inUse);
    void notReady(const LineUnit& unit, ConnectionOutcome outcome);
    // The units being written, in the order they started.
    void redraw(const std::vector<const LineUnit*>& writing);
    // The single update's progress line opened and closed; a unit's new progress state.
    void progressOpened();
    void progressClosed();
    void progress(LineUnit& unit);
    // A question for the person, on its own line (a line's names the unit); answered()
    // once answered, `ended` when input has ended. One a flag answered, told.
    void question(const LineUnit& unit, const Box& box);
    void answered(bool typed, bool ended);
    void answeredByRule(const Box& box, bool yes);
    // A unit's result, after it is recorded: a line's on standard output, each of its lines
    // starting with the unit's name, and what to do next; the single update's as its own.
    void finished(LineUnit& unit, const Finished& finished, const std::wstring& recordProblem);
    // The block gone, the tally with each unit's result, and whether the station record
    // (where one is kept) was written whole, else why not; the line's exit status.
    int tally(int ended, bool recordKept, const std::wstring& recordProblem);

  private:
    std::ostream& out() { return *setup_.out; }
    std::ostream& err() { return *setup_.err; }
    void print(std::ostream& to, const std::string& text);
    void tellShown(LineUnit& unit);
    void tellFinished(const Finished& finished);
    void finishedAlone(LineUnit& unit, const Finished& finished, const std::wstring& recordProblem);

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    const bool single_;
    std::unique_ptr<LiveDrawer> drawer_; // a line's, on a terminal
    std::size_t lastLineLength_ = 0;     // the single update's live line
    Tally tally_;
};
