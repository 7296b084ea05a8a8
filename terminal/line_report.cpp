#include "terminal/line_report.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "terminal/answer_reader.h"
#include "terminal/result_json.h"
#include "terminal/shown_text.h"
#include "terminal/unit_choice.h"

#include <ostream>

namespace {

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
    : setup_(setup), options_(options), single_(single) {
    if (!single_ && setup_.interactive && !options_.quiet && !options_.json)
        drawer_ = std::make_unique<LiveDrawer>(*setup_.err);
}

void LineReport::print(std::ostream& to, const std::string& text) {
    if (drawer_)
        drawer_->print(to, text);
    else
        to << text << std::flush;
}

void LineReport::say(const std::wstring& text) {
    if (!options_.quiet)
        print(err(), utf8Lines(text) + '\n');
}

void LineReport::complain(const std::wstring& text) {
    print(err(), utf8Lines(text) + '\n');
}

void LineReport::interruptRefused() {
    const std::wstring text = loadText(setup_.language, IDS_CLI_INTERRUPT_REFUSED);
    // The single update's progress line is left where it is, mid-line.
    if (single_)
        err() << '\n' << utf8Lines(text) << '\n' << std::flush;
    else
        say(text);
}

void LineReport::started(const LineUnit& unit) {
    if (!single_ && !drawer_)
        say(unitLine(setup_.language, unitName(unit.path, unit.port), unit.product, loadText(setup_.language, IDS_CLI_RESULT_WRITING)));
}

void LineReport::refused(const LineUnit& unit, bool inUse) {
    say(formatText(loadText(setup_.language, inUse ? IDS_CLI_IN_USE : IDS_CLI_NO_ACCESS),
                   {shownSafely(unit.path)}));
}

void LineReport::notReady(const LineUnit& unit, ConnectionOutcome outcome) {
    const std::string name = outcomeRow(outcome).name;
    say(unitLine(setup_.language, unitName(unit.path, unit.port), unit.product,
                 formatText(loadText(setup_.language, IDS_CLI_RESULT_NOT_READY),
                            {std::wstring(name.begin(), name.end())})));
}

void LineReport::redraw(const std::vector<const LineUnit*>& writing) {
    if (!drawer_)
        return;
    std::vector<std::string> lines;
    const std::size_t width = consoleWidth();
    for (const LineUnit* unit : writing) {
        // A path too long for the line (Windows' interface paths) gives way at its end,
        // where every interface of the class ends alike, so that the figures stay.
        std::wstring path = unitName(unit->path, unit->port);
        const std::size_t rest = progressLine(setup_.language, *unit, L"").size();
        if (rest + path.size() + 1 > width && width > rest + 16)
            path = path.substr(0, width - rest - 4) + L"...";
        lines.push_back(utf8Lines(progressLine(setup_.language, *unit, path)));
    }
    drawer_->show(std::move(lines));
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
    if (single_ || options_.quiet || drawer_ || unit.progress.blocksTotal == 0 ||
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
    if (drawer_)
        drawer_->question(text);
    else
        err() << text << std::flush;
}

// Without a typed answer (an interrupt, the end of input) the prompt's line is ended.
void LineReport::answered(bool typed, bool ended) {
    // While the question waits nothing else writes: the block is away.
    if (!typed || (single_ && ended))
        err() << '\n' << std::flush;
    if (drawer_)
        drawer_->answered();
}

// The single update tells what a flag answered, as if typed.
void LineReport::answeredByRule(const Box& box, bool yes) {
    if (single_ && !options_.quiet)
        err() << questionText(setup_.language, box, {}) << (yes ? "y" : "n") << '\n' << std::flush;
}

int LineReport::tally(int ended, bool recordKept, const std::wstring& recordProblem) {
    drawer_.reset(); // the block goes before the tally
    writeTally(out(), setup_.language, options_.json, tally_, recordKept, recordProblem);
    return lineExitStatus(tally_.of(UnitResult::Failed), tally_.units.size(), options_.all, ended);
}
