// What a run tells, on standard output and error, in words or as JSON lines. A production
// line: each unit's progress and result, diagnostics, questions naming the unit, and the
// tally. The single update (and status): the unit's versions and state, the questions, one
// progress line, and its result alone.
#pragma once

#include "terminal/line_unit.h"
#include "terminal/screen_drawer.h"
#include "terminal/station_board.h"
#include "terminal/tally.h"
#include "terminal/terminal.h"

#include <memory>
#include <string>
#include <vector>

class LineReport {
  public:
    LineReport(const TerminalSetup& setup, const TerminalOptions& options, bool single);

    // Whether a line on a terminal shows the station screen, redrawn in place.
    bool drawsInPlace() const { return drawer_ != nullptr; }
    // Whether the screen lists failures for the operator to acknowledge (Enter).
    bool awaitsAcknowledgement() const { return drawer_ && board_.hasFailures(); }
    void acknowledged();
    // A diagnostic on standard error, unless --quiet; an error, always.
    void say(const std::wstring& text);
    void complain(const std::wstring& text);
    // An interrupt refused while a unit is written.
    void interruptRefused();

    // The unit's versions, socket and state with what to do, after the boxes it showed.
    void status(LineUnit& unit);
    // A line's unit is seen and asked who it is; begins to be written: a line to a pipe,
    // its socket's row on the screen.
    void identifying(const LineUnit& unit);
    void started(const LineUnit& unit);
    // A unit that cannot be written: refused to this user or in use, or not ready.
    void refused(const LineUnit& unit, bool inUse);
    void notReady(const LineUnit& unit, ConnectionOutcome outcome);
    // The screen again, as it is now.
    void redraw();
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
    // A line's finished unit taken out, `cycleMs` after it was seen; one that never
    // finished (refused, not ready) taken out.
    void unplugged(const LineUnit& unit, std::uint64_t cycleMs);
    void emptied(const LineUnit& unit);
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
    std::vector<ScreenLine> frame();

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    const bool single_;
    StationBoard board_;
    std::string question_; // waiting for its answer, on the screen
    std::wstring notice_;  // the last diagnostic, on the screen
    std::unique_ptr<ScreenDrawer> drawer_; // a line's, on a terminal
    std::size_t lastLineLength_ = 0;     // the single update's live line
    Tally tally_;
};
