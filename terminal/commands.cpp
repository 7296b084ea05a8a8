#include "terminal/commands.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"
#include "terminal/console_front_end.h"
#include "terminal/result_json.h"
#include "terminal/station_record.h"
#include "terminal/unit_wait.h"

#include <ostream>

namespace {

// One command's run: its options, front end and session.
class TerminalRun {
  public:
    TerminalRun(const TerminalSetup& setup, const TerminalOptions& options,
                StationFiles& files)
        : setup_(setup), options_(options), files_(files), frontEnd_(setup_, options_),
          session_(frontEnd_, setup_.language) {
        frontEnd_.attach(session_);
        if (files_.trace() != nullptr) {
            wire_ = files_.trace()->follow();
            session_.traceWire(&wire_);
        }
        voice_.language = setup_.language;
        voice_.say = [this](const std::wstring& text) {
            if (!options_.quiet)
                err() << utf8Lines(text) << '\n' << std::flush;
        };
        voice_.complain = [this](const std::wstring& text) {
            err() << utf8Lines(text) << '\n' << std::flush;
        };
    }
    ~TerminalRun() { session_.close(); }
    int command();

  private:
    std::ostream& out() { return *setup_.out; }
    std::ostream& err() { return *setup_.err; }
    void flushMessages();
    void printStatus();
    int statusCommand();
    int listCommand();
    void pumpUntilUpdateEnds();
    int updateCommand();

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    StationFiles& files_;
    WireTrace wire_;
    ConsoleFrontEnd frontEnd_;
    Session session_;
    Voice voice_;
};

// The OK boxes the session showed, as results on standard output.
void TerminalRun::flushMessages() {
    for (const Box& box : frontEnd_.takeShown()) {
        if (options_.json) {
            JsonObject line("message");
            out() << boxFields(line, box).str() << '\n';
        } else {
            out() << utf8Lines(box.text) << '\n';
        }
    }
    out() << std::flush;
}

void TerminalRun::printStatus() {
    flushMessages();
    const SessionView& view = session_.view();
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

int TerminalRun::statusCommand() {
    bool connected = false;
    const int status = connectReady(session_, frontEnd_, setup_, options_, voice_, true, connected);
    if (connected)
        printStatus();
    if (session_.view().image.damaged)
        return kExitImageDamaged;
    return status == kUnitReady ? kExitOk : status;
}

// Each unit as status describes it, one line each.
int TerminalRun::listCommand() {
    std::vector<ListedUnit> listed;
    listUnits(listed);
    const std::vector<ListedUnit> units = onChosenPorts(std::move(listed), options_);
    for (const ListedUnit& unit : units) {
        SessionView view;
        view.unitVersion = view.bootloaderVersion = view.escVersion = L"-";
        std::string outcome = unit.inUse ? "in-use" : "no-access";
        if (unit.openable) {
            ConsoleFrontEnd silent(setup_, options_); // its boxes kept, not said
            Session described(silent, setup_.language);
            silent.attach(described);
            described.traceWire(files_.trace() != nullptr ? &wire_ : nullptr);
            described.connect(unit.path);
            view = described.view();
            outcome = outcomeRow(view.outcome).name;
        }
        const std::wstring product = productLabel(unit.productId);
        if (options_.json) {
            JsonObject line("unit");
            line.text("device", unit.path).text("port", unit.port).text("product", product);
            out() << versionFields(line, view).word("outcome", outcome.c_str()).str() << '\n';
        } else {
            out() << utf8Lines(unitName(unit.path, unit.port) + L"  " + product + L"  " +
                               view.unitVersion + L"  " +
                               view.bootloaderVersion + L"  " + view.escVersion)
                  << "  " << outcome << '\n';
        }
    }
    out() << std::flush;
    return units.empty() ? kExitNoUnit : kExitOk;
}

// Runs what the update's worker sends to the window's thread until the update ends.
// Interrupts are looked at between its calls, at least ten times a second, and refused
// while the view says the update runs, as Close is in the window.
void TerminalRun::pumpUntilUpdateEnds() {
    while (session_.updateRunning()) {
        if (setup_.interrupt->exchange(false))
            err() << '\n' << utf8Lines(loadText(setup_.language, IDS_CLI_INTERRUPT_REFUSED)) << '\n' << std::flush;
        frontEnd_.runNext(std::chrono::milliseconds(100));
    }
}

int TerminalRun::updateCommand() {
    bool connected = false;
    const int status = connectReady(session_, frontEnd_, setup_, options_, voice_, false, connected);
    if (connected && (!options_.quiet || status != kUnitReady))
        printStatus();
    if (status != kUnitReady)
        return status;
    // Its versions before the update, for the result.
    const SessionView before = session_.view();
    const auto startedAt = std::chrono::steady_clock::now();
    session_.updatePressed();
    pumpUntilUpdateEnds();
    flushMessages();
    const UnitResult result = updateResult(session_, options_, setup_.personAtTerminal());
    if (result != UnitResult::Updated && result != UnitResult::Failed &&
        setup_.interrupt->load())
        return kExitInterrupted;
    Finished finished{before.device, before.port, before.unitLabel, result,
                      notWrittenText(setup_.language, result)};
    if (result == UnitResult::Updated || result == UnitResult::Failed)
        finished.text = session_.view().hint;
    // On the disk before the result is told.
    const auto took = std::chrono::steady_clock::now() - startedAt;
    const bool recorded = files_.keep(
        {std::chrono::system_clock::now(), before.port, before.device, before.unitLabel,
         before.unitVersion, before.bootloaderVersion, before.escVersion, result,
         frontEnd_.lastFailure(),
         static_cast<std::uint64_t>(
             std::chrono::duration_cast<std::chrono::milliseconds>(took).count()),
         before.image});
    if (result == UnitResult::Changed)
        printStatus(); // why, then what is connected now, as status shows it
    if (options_.json)
        out() << resultJson(finished, files_.problem()) << '\n' << std::flush;
    else if (result == UnitResult::Updated)
        out() << utf8Lines(finished.text) << '\n' << std::flush;
    else if (result != UnitResult::Failed && result != UnitResult::Changed)
        voice_.say(finished.text);
    if (!recorded) {
        voice_.complain(files_.problem());
        return kExitRecordFailed;
    }
    return resultExitStatus(result);
}

int TerminalRun::command() {
    switch (options_.command) {
    case TerminalCommand::Status:
        return statusCommand();
    case TerminalCommand::List:
        return listCommand();
    case TerminalCommand::Update:
        break;
    }
    return updateCommand();
}

} // namespace

int unitCommand(const TerminalSetup& setup, const TerminalOptions& options,
                StationFiles& files) {
    TerminalRun run(setup, options, files);
    return run.command();
}
