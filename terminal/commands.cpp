#include "terminal/commands.h"

#include "session/json.h"
#include "session/presentation.h"
#include "terminal/line_unit.h"
#include "terminal/unit_choice.h"

#include <ostream>

int listCommand(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files) {
    std::vector<ListedUnit> listed;
    listUnits(listed);
    const std::vector<ListedUnit> units = onChosenPorts(std::move(listed), options);
    WorkQueue queue;
    LineLink silent; // boxes kept, not said
    silent.queue = &queue;
    silent.options = &options;
    WireTrace wire = files.trace() != nullptr ? files.trace()->follow() : WireTrace();
    std::ostream& out = *setup.out;
    for (const ListedUnit& unit : units) {
        SessionView view;
        view.unitVersion = view.bootloaderVersion = view.escVersion = L"-";
        std::string outcome = unit.inUse ? "in-use" : "no-access";
        if (unit.openable) {
            LineUnit described;
            UnitFrontEnd frontEnd(silent, described);
            Session session(frontEnd, setup.language);
            session.traceWire(files.trace() != nullptr ? &wire : nullptr);
            session.connect(unit.path);
            view = session.view();
            outcome = outcomeRow(view.outcome).name;
        }
        const std::wstring product = productLabel(unit.productId);
        if (options.json) {
            JsonObject line("unit");
            line.text("device", unit.path).text("port", unit.port).text("product", product);
            out << versionFields(line, view).word("outcome", outcome.c_str()).str() << '\n';
        } else {
            out << utf8Lines(unitName(unit.path, unit.port) + L"  " + product + L"  " +
                             view.unitVersion + L"  " + view.bootloaderVersion + L"  " +
                             view.escVersion)
                << "  " << outcome << '\n';
        }
    }
    out << std::flush;
    return units.empty() ? kExitNoUnit : kExitOk;
}
