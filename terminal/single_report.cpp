// What the single update and status tell of their one unit: the boxes it showed, its
// versions and state, and its result alone.
#include "terminal/line_report.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "terminal/result_json.h"

#include <ostream>

// The OK boxes the session showed, as results on standard output.
void LineReport::tellShown(LineUnit& unit) {
    for (const Box& box : unit.shown) {
        if (options_.json) {
            JsonObject line("message");
            out() << boxFields(line, box).str() << '\n';
        } else {
            out() << utf8Lines(box.text) << '\n';
        }
    }
    unit.shown.clear();
    out() << std::flush;
}

void LineReport::status(LineUnit& unit) {
    tellShown(unit);
    const SessionView& view = unit.session->view();
    if (options_.json) {
        JsonObject line("status");
        out() << viewFields(line, view).str() << '\n' << std::flush;
        return;
    }
    const std::pair<const std::wstring*, const std::wstring*> rows[] = {
        {&view.unitLabel, &view.unitVersion},
        {&view.bootloaderLabel, &view.bootloaderVersion},
        {&view.escLabel, &view.escVersion}};
    const std::wstring line = loadText(setup_.language, IDS_CLI_PRODUCT_LINE);
    for (const auto& [label, value] : rows)
        out() << utf8Lines(formatText(line, {*label, *value})) << '\n';
    if (!view.port.empty())
        out() << utf8Lines(formatText(line, {loadText(setup_.language, IDS_CLI_PORT_LABEL),
                                             view.port}))
              << '\n';
    out() << '\n' << utf8Lines(view.hint) << '\n' << std::flush;
}

void LineReport::finishedAlone(LineUnit& unit, const Finished& f,
                               const std::wstring& recordProblem) {
    tellShown(unit);
    if (f.result == UnitResult::Changed)
        status(unit); // why, then what is connected now, as status shows it
    if (options_.json)
        out() << resultJson(f, recordProblem) << '\n' << std::flush;
    else if (f.result == UnitResult::Updated)
        out() << utf8Lines(f.text) << '\n' << std::flush;
    else if (f.result != UnitResult::Failed && f.result != UnitResult::Changed)
        say(f.text);
    if (!recordProblem.empty())
        complain(recordProblem);
}
