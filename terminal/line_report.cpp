#include "terminal/line_report.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "terminal/answer_reader.h"
#include "terminal/console_front_end.h"
#include "terminal/unit_choice.h"

#include <ostream>

const char* resultName(UnitResult result) {
    switch (result) {
    case UnitResult::Updated:
        return "updated";
    case UnitResult::Failed:
        return "failed";
    case UnitResult::Skipped:
        return "skipped";
    case UnitResult::Declined:
        return "declined";
    case UnitResult::Changed:
        return "changed";
    }
    return "";
}

UnitResult updateResult(const Session& session, const TerminalOptions& options,
                        bool personAtTerminal) {
    switch (session.lastUpdateEnd()) {
    case UpdateEnd::Succeeded:
        return UnitResult::Updated;
    case UpdateEnd::Failed:
        return UnitResult::Failed;
    case UpdateEnd::Changed:
        return UnitResult::Changed;
    case UpdateEnd::Declined:
    case UpdateEnd::None:
        break;
    }
    const bool byRule =
        boxAnswer(BoxId::ConfirmSameOrNewer, options, personAtTerminal) == BoxAnswer::No;
    return session.declinedAt() == BoxId::ConfirmSameOrNewer && byRule
               ? UnitResult::Skipped
               : UnitResult::Declined;
}

std::wstring notWrittenText(Language language, UnitResult result) {
    if (result == UnitResult::Changed)
        return loadText(language, IDS_CONTROLLER_CHANGED);
    return loadText(language, result == UnitResult::Skipped ? IDS_CLI_SKIPPED_SAME_OR_NEWER
                                                  : IDS_CLI_DECLINED);
}

namespace {

JsonObject& resultFields(JsonObject& object, const Finished& f) {
    return object.text("device", f.path)
        .text("port", f.port)
        .text("product", f.product)
        .word("result", resultName(f.result))
        .text("text", f.text);
}

} // namespace

std::string resultJson(const Finished& f, const std::wstring& recordProblem) {
    JsonObject line("result");
    resultFields(line, f);
    if (!recordProblem.empty())
        line.text("recordProblem", recordProblem);
    return line.str();
}

namespace {

std::wstring unitLine(Language language, const std::wstring& path, const std::wstring& product,
                      const std::wstring& what) {
    return formatText(loadText(language, IDS_CLI_UNIT_LINE), {path, product, what});
}

// Updated or failed in a word; why a skipped or declined unit was not written in full.
std::wstring resultWords(Language language, const Finished& f) {
    if (f.result == UnitResult::Updated)
        return loadText(language, IDS_CLI_RESULT_UPDATED);
    if (f.result == UnitResult::Failed)
        return loadText(language, IDS_CLI_RESULT_FAILED);
    if (f.result == UnitResult::Changed)
        return loadText(language, IDS_CLI_RESULT_CHANGED) + L": " + f.text;
    return f.text;
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

LineReport::LineReport(const TerminalSetup& setup, const TerminalOptions& options)
    : setup_(setup), options_(options) {
    if (setup_.interactive && !options_.quiet && !options_.json)
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

void LineReport::started(const LineUnit& unit) {
    if (!drawer_)
        say(unitLine(setup_.language, unitName(unit.path, unit.port), unit.product, loadText(setup_.language, IDS_CLI_RESULT_WRITING)));
}

void LineReport::refused(const LineUnit& unit, bool inUse) {
    say(formatText(loadText(setup_.language, inUse ? IDS_CLI_IN_USE : IDS_CLI_NO_ACCESS), {unit.path}));
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

void LineReport::progress(LineUnit& unit) {
    if (options_.quiet || drawer_ || unit.progress.blocksTotal == 0 ||
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

void LineReport::finished(const Finished& f) {
    results_.push_back(f);
    if (options_.json) {
        out() << resultJson(f) << '\n' << std::flush;
        return;
    }
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
    const std::string text =
        questionText(setup_.language, box, unitName(unit.path, unit.port) + L"  " + unit.product);
    if (drawer_)
        drawer_->question(text);
    else
        err() << text << std::flush;
}

// Without a typed answer (an interrupt, the end of input) the prompt's line is ended.
void LineReport::answered(bool typed) {
    // While the question waits nothing else writes: the block is away.
    if (!typed)
        err() << '\n' << std::flush;
    if (drawer_)
        drawer_->answered();
}

int LineReport::tally(int ended, bool recordKept, const std::wstring& recordProblem) {
    const bool recordFailed = !recordProblem.empty();
    drawer_.reset(); // the block goes before the tally
    std::uint32_t count[kUnitResults] = {};
    for (const Finished& f : results_)
        ++count[static_cast<int>(f.result)];
    const std::uint32_t updated = count[0], failed = count[1], skipped = count[2],
                        declined = count[3], changed = count[4];
    if (options_.json) {
        std::vector<std::string> units;
        for (const Finished& f : results_) {
            JsonObject unit;
            units.push_back(resultFields(unit, f).str());
        }
        JsonObject line("tally");
        line.number("updated", updated)
            .number("failed", failed)
            .number("skipped", skipped)
            .number("declined", declined)
            .number("changed", changed)
            .json("units", jsonArray(units));
        if (recordKept)
            line.flag("recordFailed", recordFailed);
        if (recordFailed)
            line.text("recordProblem", recordProblem);
        out() << line.str() << '\n' << std::flush;
    } else {
        out() << utf8Lines(formatText(loadText(setup_.language, IDS_CLI_TALLY),
                                      {updated, failed, skipped, declined, changed}))
              << '\n';
        for (const Finished& f : results_) {
            out() << "  "
                  << utf8Lines(unitLine(setup_.language, unitName(f.path, f.port), f.product,
                                        resultWords(setup_.language, f)))
                  << '\n';
            // A failure's code line, its last line, names what went wrong.
            const std::size_t last = f.text.rfind(L"\r\n");
            if (f.result == UnitResult::Failed && last != std::wstring::npos)
                out() << "    " << utf8Lines(f.text.substr(last + 2)) << '\n';
        }
        if (recordFailed)
            out() << utf8Lines(recordProblem) << '\n';
        out() << std::flush;
    }
    if (failed > 0)
        return kExitFailed;
    if (options_.all && results_.empty())
        return kExitNoUnit;
    return ended;
}
