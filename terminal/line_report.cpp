#include "terminal/line_report.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "terminal/answer_reader.h"
#include "terminal/result_json.h"
#include "terminal/shown_text.h"
#include "terminal/station_record.h"
#include "terminal/unit_choice.h"

#include <ostream>

namespace {

std::uint64_t nowMs() {
    return static_cast<std::uint64_t>(platformMicroseconds() / 1000);
}

// A unit's progress, its path as given; lock, erase and address come before the first
// block.
std::wstring progressLine(Language language, const LineUnit& unit, const std::wstring& path) {
    const ProgressState& p = unit.progress;
    if (p.blocksTotal == 0)
        return unitLine(language, path, unit.product, loadText(language, IDS_CLI_RESULT_WRITING));
    return formatText(
        loadText(language, IDS_CLI_UNIT_PROGRESS),
        {path, unit.product, p.percent, p.blocksWritten, p.blocksTotal, p.secondsLeft});
}

} // namespace

LineReport::LineReport(const TerminalSetup& setup, const TerminalOptions& options, bool single)
    : setup_(setup), options_(options), single_(single), board_(options.ports, nowMs()) {
    if (!single_ && setup_.interactive && !options_.quiet && !options_.json) {
        drawer_ = std::make_unique<ScreenDrawer>(*setup_.err, setup_.colour);
        redraw();
    }
}

// On the screen, what is said on the terminal waits for it to be given back (its last line
// shows meanwhile); standard output that goes elsewhere gets its lines as they come.
void LineReport::print(std::ostream& to, const std::string& text) {
    if (drawer_ && (&to == &err() || setup_.outputIsTerminal))
        drawer_->later(to, text);
    else
        to << text << std::flush;
}

void LineReport::say(const std::wstring& text) {
    if (options_.quiet)
        return;
    print(err(), utf8Lines(text) + '\n');
    if (drawer_) {
        notice_ = text;
        redraw();
    }
}

void LineReport::complain(const std::wstring& text) {
    print(err(), utf8Lines(text) + '\n');
    if (drawer_) {
        notice_ = text;
        redraw();
    }
}

std::vector<ScreenLine> LineReport::frame() {
    ConsoleSize size = drawer_->size();
    if (setup_.screenColumns > 0 && setup_.screenRows > 0)
        size = {setup_.screenColumns, setup_.screenRows};
    return stationScreen(board_, setup_.language, nowMs(), size.columns, size.rows, question_,
                         notice_);
}

void LineReport::redraw() {
    if (drawer_)
        drawer_->show(frame());
}

void LineReport::acknowledged() {
    board_.acknowledge();
    redraw();
}

void LineReport::interruptRefused() {
    const std::wstring text = loadText(setup_.language, IDS_CLI_INTERRUPT_REFUSED);
    // The single update's progress line is left where it is, mid-line.
    if (single_)
        err() << '\n' << utf8Lines(text) << '\n' << std::flush;
    else
        say(text);
}

void LineReport::identifying(const LineUnit& unit) {
    if (!drawer_)
        return;
    SocketRow& row = board_.row(unit.socket());
    const std::wstring socket = row.socket;
    row = SocketRow{};
    row.socket = socket;
    row.state = SocketState::Identifying;
    redraw();
}

void LineReport::started(const LineUnit& unit) {
    if (drawer_) {
        SocketRow& row = board_.row(unit.socket());
        row.state = SocketState::Writing;
        row.progress = ProgressState{};
        redraw();
    } else if (!single_) {
        say(unitLine(setup_.language, unitName(unit.path, unit.port), unit.product,
                     loadText(setup_.language, IDS_CLI_RESULT_WRITING)));
    }
}

void LineReport::refused(const LineUnit& unit, bool inUse) {
    if (drawer_) {
        board_.row(unit.socket()).state = inUse ? SocketState::InUse : SocketState::NoAccess;
        redraw();
        return;
    }
    say(formatText(loadText(setup_.language, inUse ? IDS_CLI_IN_USE : IDS_CLI_NO_ACCESS),
                   {shownSafely(unit.path)}));
}

void LineReport::notReady(const LineUnit& unit, ConnectionOutcome outcome) {
    const std::string name = outcomeRow(outcome).name;
    const std::wstring why(name.begin(), name.end());
    if (drawer_) {
        SocketRow& row = board_.row(unit.socket());
        row.state = SocketState::NotReady;
        row.detail = why;
        redraw();
        return;
    }
    say(unitLine(setup_.language, unitName(unit.path, unit.port), unit.product,
                 formatText(loadText(setup_.language, IDS_CLI_RESULT_NOT_READY), {why})));
}

void LineReport::unplugged(const LineUnit& unit, std::uint64_t cycleMs) {
    board_.unplugged(unit.socket(), cycleMs);
    redraw();
}

void LineReport::emptied(const LineUnit& unit) {
    board_.emptied(unit.socket());
    redraw();
}

void LineReport::progressOpened() {
    lastLineLength_ = 0;
    if (single_ && !options_.quiet)
        err() << utf8Lines(progressText(setup_.language, ProgressState{})) << '\n' << std::flush;
}

void LineReport::progressClosed() {
    if (single_ && !options_.quiet && setup_.interactive)
        err() << '\n' << std::flush;
}

void LineReport::progress(LineUnit& unit) {
    if (single_ && !options_.quiet && unit.progress.blocksTotal != 0) {
        // On a terminal one line that rewrites itself; to a pipe or a log a line a step.
        const bool inPlace = setup_.interactive;
        if (!(inPlace ? unit.redrawn : unit.written).due(unit.progress))
            return;
        const std::string line = utf8Lines(progressText(setup_.language, unit.progress));
        if (!inPlace) {
            err() << line << '\n' << std::flush;
            return;
        }
        // Blanks over what a longer line left; consoles without escape sequences too.
        const std::size_t pad = lastLineLength_ > line.size() ? lastLineLength_ - line.size() : 0;
        err() << '\r' << line << std::string(pad, ' ') << std::flush;
        lastLineLength_ = line.size();
        return;
    }
    if (drawer_) {
        board_.row(unit.socket()).progress = unit.progress;
        return; // drawn as the engine's throttle allows
    }
    if (single_ || options_.quiet || unit.progress.blocksTotal == 0 ||
        !unit.written.due(unit.progress))
        return;
    if (options_.json) {
        JsonObject line("progress");
        line.text("device", unit.path).text("port", unit.port);
        out() << progressFields(line, setup_.language, unit.progress).str() << '\n' << std::flush;
        return;
    }
    err() << utf8Lines(progressLine(setup_.language, unit, unitName(unit.path, unit.port))) << '\n'
          << std::flush;
}

void LineReport::finished(LineUnit& unit, const Finished& f, const std::wstring& recordProblem) {
    if (single_) {
        finishedAlone(unit, f, recordProblem);
        return;
    }
    tally_.add(f);
    if (drawer_) {
        static const SocketState shown[kUnitResults] = {SocketState::Done, SocketState::Failed,
                                                        SocketState::Skipped, SocketState::Declined,
                                                        SocketState::Changed};
        SocketRow& row = board_.row(unit.socket());
        row.state = shown[static_cast<int>(f.result)];
        row.detail = f.result == UnitResult::Failed ? codeLine(f.text) : std::wstring();
        row.repeat = unit.repeat;
        board_.finished(unit.socket(), f.result, row.detail, unit.repeat, unit.finishedWall);
        if (!recordProblem.empty())
            notice_ = recordProblem;
        redraw();
        if (!setup_.outputIsTerminal)
            tellFinished(f);
        return;
    }
    if (options_.json) {
        out() << resultJson(f) << '\n' << std::flush;
    } else {
        tellFinished(f);
    }
    if (!options_.all)
        say(formatText(loadText(setup_.language, IDS_CLI_REMOVE_UNIT),
                       {unitName(unit.path, unit.port)}));
}

void LineReport::tellFinished(const Finished& f) {
    const std::wstring name = unitName(f.path, f.port);
    std::string text =
        utf8Lines(unitLine(setup_.language, name, f.product, resultWords(setup_.language, f))) +
        '\n';
    if (f.result == UnitResult::Failed) {
        std::wstring rest = f.text + L"\r\n";
        for (std::size_t at; (at = rest.find(L"\r\n")) != std::wstring::npos; rest.erase(0, at + 2))
            if (at > 0)
                text += utf8Lines(name + L"  " + rest.substr(0, at)) + '\n';
    }
    print(out(), text);
}

void LineReport::question(const LineUnit& unit, const Box& box) {
    const std::string text = questionText(
        setup_.language, box,
        single_ ? std::wstring() : unitName(unit.path, unit.port) + L"  " + unit.product);
    if (drawer_) {
        question_ = text;
        drawer_->hold(frame());
    } else {
        err() << text << std::flush;
    }
}

// Without a typed answer (an interrupt, the end of input) the prompt's line is ended.
void LineReport::answered(bool typed, bool ended) {
    if (drawer_) {
        question_.clear();
        drawer_->release(frame());
        return;
    }
    // While the question waits nothing else writes.
    if (!typed || (single_ && ended))
        err() << '\n' << std::flush;
}

// The single update tells what a flag answered, as if typed.
void LineReport::answeredByRule(const Box& box, bool yes) {
    if (single_ && !options_.quiet)
        err() << questionText(setup_.language, box, {}) << (yes ? "y" : "n") << '\n' << std::flush;
}

int LineReport::tally(int ended, bool recordKept, const std::wstring& recordProblem) {
    drawer_.reset(); // the screen goes before the tally
    writeTally(out(), setup_.language, options_.json, tally_, recordKept, recordProblem);
    return lineExitStatus(tally_.of(UnitResult::Failed), tally_.units.size(), options_.all, ended);
}
