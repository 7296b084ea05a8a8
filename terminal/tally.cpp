#include "terminal/tally.h"

#include "resources/resource_ids.h"
#include "session/presentation.h"
#include "terminal/result_json.h"
#include "terminal/unit_choice.h"

#include <ostream>

void Tally::add(const Finished& finished) {
    units.push_back(finished);
    ++count[static_cast<int>(finished.result)];
}

void writeTally(std::ostream& out, Language language, bool json, const Tally& tally,
                bool recordKept, const std::wstring& recordProblem) {
    const std::uint32_t updated = tally.of(UnitResult::Updated),
                        failed = tally.of(UnitResult::Failed),
                        skipped = tally.of(UnitResult::Skipped),
                        declined = tally.of(UnitResult::Declined),
                        changed = tally.of(UnitResult::Changed);
    if (json) {
        std::vector<std::string> units;
        for (const Finished& f : tally.units) {
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
            line.flag("recordFailed", !recordProblem.empty());
        if (!recordProblem.empty())
            line.text("recordProblem", recordProblem);
        out << line.str() << '\n' << std::flush;
        return;
    }
    out << utf8Lines(formatText(loadText(language, IDS_CLI_TALLY),
                                {updated, failed, skipped, declined, changed}))
        << '\n';
    for (const Finished& f : tally.units) {
        out << "  "
            << utf8Lines(unitLine(language, unitName(f.path, f.port), f.product,
                                  resultWords(language, f)))
            << '\n';
        // A failure's code line, its last line, names what went wrong.
        const std::size_t last = f.text.rfind(L"\r\n");
        if (f.result == UnitResult::Failed && last != std::wstring::npos)
            out << "    " << utf8Lines(f.text.substr(last + 2)) << '\n';
    }
    if (!recordProblem.empty())
        out << utf8Lines(recordProblem) << '\n';
    out << std::flush;
}
