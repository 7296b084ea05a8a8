// What the terminal edition does: which unit, what is printed where, waiting, the update
// and the production line, and the exit status of each.
#include "terminal/terminal.h"

#include "terminal/console_front_end.h"

#include "platform/platform.h"
#include "program.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_list.h"

#include <istream>
#include <ostream>

namespace {

constexpr std::uint32_t kPollMs = 500;
constexpr int kGoOn = -1;

// One run of the program: its options, front end and session.
class TerminalRun {
  public:
    TerminalRun(const TerminalSetup& setup, const TerminalOptions& options)
        : setup_(setup), options_(options), frontEnd_(setup_, options_), session_(frontEnd_) {
        frontEnd_.attach(session_);
    }
    int command();
    void close() { session_.close(); }

  private:
    std::ostream& out() { return *setup_.out; }
    std::ostream& err() { return *setup_.err; }
    bool interrupted() const { return setup_.interrupt->load(); }
    void say(const std::wstring& text);
    void complain(const std::wstring& text);
    void flushMessages();
    void printStatus();
    void printResult(const char* result, const std::wstring& text);
    int refused(const ListedUnit& unit, bool speak);
    int chooseUnit(std::wstring& path, bool oneOfSeveral, bool speak, std::wstring& seen);
    int connectReady(bool oneOfSeveral, bool waitAlways, bool& connected);
    int statusCommand();
    int listCommand();
    void pumpUntilUpdateEnds();
    int updateOnce();
    int updateCommand();
    void waitForRemoval(const std::wstring& path);
    int productionLine();

    TerminalSetup setup_;
    const TerminalOptions options_;
    ConsoleFrontEnd frontEnd_;
    Session session_;
    bool stopAfterUpdate_ = false; // an interrupt was refused during the update
};

// Diagnostics: standard error, unless --quiet.
void TerminalRun::say(const std::wstring& text) {
    if (!options_.quiet)
        err() << utf8Lines(text) << '\n' << std::flush;
}

// Errors: standard error always.
void TerminalRun::complain(const std::wstring& text) {
    err() << utf8Lines(text) << '\n' << std::flush;
}

// The OK boxes the session showed, as results on standard output.
void TerminalRun::flushMessages() {
    for (const Box& box : frontEnd_.takeShown()) {
        if (options_.json)
            out() << "{\"type\":\"message\",\"caption\":" << jsonString(box.caption)
                  << ",\"text\":" << jsonString(box.text) << "}\n";
        else
            out() << utf8Lines(box.text) << '\n';
    }
    out() << std::flush;
}

void TerminalRun::printStatus() {
    flushMessages();
    const SessionView& view = session_.view();
    if (options_.json) {
        out() << "{\"type\":\"status\",\"device\":" << jsonString(view.device)
              << ",\"product\":" << jsonString(view.unitLabel)
              << ",\"unit\":" << jsonString(view.unitVersion)
              << ",\"bootloader\":" << jsonString(view.bootloaderVersion)
              << ",\"controller\":" << jsonString(view.escVersion) << ",\"outcome\":\""
              << outcomeRow(view.outcome).name << "\",\"hint\":" << jsonString(view.hint) << "}\n"
              << std::flush;
        return;
    }
    const std::pair<const std::wstring*, const std::wstring*> rows[] = {
        {&view.unitLabel, &view.unitVersion},
        {&view.bootloaderLabel, &view.bootloaderVersion},
        {&view.escLabel, &view.escVersion}};
    for (const auto& [label, value] : rows)
        out() << utf8Lines(formatText(loadText(IDS_CLI_PRODUCT_LINE), {*label, *value})) << '\n';
    out() << '\n' << utf8Lines(view.hint) << '\n' << std::flush;
}

void TerminalRun::printResult(const char* result, const std::wstring& text) {
    if (options_.json)
        out() << "{\"type\":\"result\",\"result\":\"" << result
              << "\",\"text\":" << jsonString(text) << "}\n";
    else if (!text.empty())
        out() << utf8Lines(text) << '\n';
    out() << std::flush;
}

// Why a listed unit cannot be opened, said and as its exit status.
int TerminalRun::refused(const ListedUnit& unit, bool speak) {
    if (unit.inUse) {
        if (speak)
            complain(formatText(loadText(IDS_CLI_IN_USE), {unit.path}));
        return kExitInUse;
    }
    if (speak) {
        complain(formatText(loadText(IDS_CLI_NO_ACCESS), {unit.path}));
        complain(loadText(IDS_CLI_NO_ACCESS_HOW));
    }
    return kExitNoAccess;
}

// What is plugged in, as far as choosing a unit goes.
std::wstring unitsSeen(const std::vector<ListedUnit>& units) {
    std::wstring seen;
    for (const ListedUnit& unit : units)
        seen += unit.path + (unit.openable ? L"+" : unit.inUse ? L"=" : L"-") + L"\n";
    return seen;
}

// Which unit to take: kGoOn with `path` (empty: the first, as the window takes it), or an
// exit status. `speak`: say why not. `seen`: what was plugged in.
int TerminalRun::chooseUnit(std::wstring& path, bool oneOfSeveral, bool speak, std::wstring& seen) {
    std::vector<ListedUnit> units;
    listUnits(units);
    seen = unitsSeen(units);
    const std::wstring& device = options_.device;
    path.clear();
    if (!device.empty()) {
        for (const ListedUnit& unit : units) {
            if (!platformSamePath(unit.path, device))
                continue;
            if (!unit.openable)
                return refused(unit, speak);
            path = unit.path;
            return kGoOn;
        }
        if (speak)
            say(formatText(loadText(IDS_CLI_NOT_IN_LIST), {device}));
        return kExitNoUnit;
    }
    const ListedUnit* firstOpenable = nullptr;
    for (const ListedUnit& unit : units)
        if (unit.openable && firstOpenable == nullptr)
            firstOpenable = &unit;
    if (units.size() > 1 && !oneOfSeveral) {
        if (speak) {
            complain(loadText(IDS_CLI_CHOOSE_DEVICE));
            for (const ListedUnit& unit : units)
                complain(L"  " + unit.path + L"  " + productLabel(unit.productId));
        }
        return kExitSeveralUnits;
    }
    if (firstOpenable == nullptr && !units.empty())
        return refused(units[0], speak);
    if (units.size() > 1 && speak && options_.command == TerminalCommand::Status) {
        say(loadText(IDS_CLI_OTHERS_PRESENT));
        for (const ListedUnit& unit : units)
            if (unit.path != firstOpenable->path)
                say(L"  " + unit.path + L"  " + productLabel(unit.productId));
    }
    return kGoOn;
}

// Connects as the window does; with --wait (or `waitAlways`) until a unit is ready,
// saying each other state once. kGoOn when ready, else the exit status: kExitNoUnit when
// the wait ran out, kExitInterrupted when interrupted. `connected` tells whether the
// session showed an outcome to print.
int TerminalRun::connectReady(bool oneOfSeveral, bool waitAlways, bool& connected) {
    const bool waiting = waitAlways || options_.wait;
    const long limitMs = options_.waitSeconds < 0 ? -1 : options_.waitSeconds * 1000;
    long waitedMs = 0;
    int lastCode = kGoOn - 1;
    std::wstring lastHint;
    std::wstring lastSeen;
    for (;;) {
        if (interrupted())
            return kExitInterrupted;
        std::wstring path;
        std::wstring seen;
        const bool firstRound = lastCode == kGoOn - 1;
        int code = chooseUnit(path, oneOfSeveral, !waiting || firstRound, seen);
        if (waiting && !firstRound && code != kGoOn && code != lastCode)
            chooseUnit(path, oneOfSeveral, true, seen); // now saying why
        connected = code == kGoOn;
        // As the window, a unit is asked again only when something was plugged in or out.
        const bool changed = firstRound || seen != lastSeen;
        lastSeen = seen;
        if (code == kGoOn && !changed) {
            code = lastCode;
        } else if (code == kGoOn) {
            frontEnd_.takeShown();
            session_.connect(path);
            const ConnectionOutcome outcome = session_.view().outcome;
            code = outcome == ConnectionOutcome::ReadyToUpdate ? kGoOn
                                                               : outcomeExitStatus(outcome);
            if (!waiting || code == kGoOn)
                return code;
            // Each other state once, as it is seen.
            const std::vector<Box> shown = frontEnd_.takeShown();
            if (session_.view().hint != lastHint) {
                lastHint = session_.view().hint;
                for (const Box& box : shown)
                    say(box.text);
                say(lastHint);
            }
        } else if (!waiting) {
            return code;
        }
        if (lastCode == kGoOn - 1)
            say(loadText(IDS_CLI_WAITING_FOR));
        lastCode = code;
        if (limitMs >= 0 && waitedMs >= limitMs)
            return kExitNoUnit;
        setup_.idle();
        waitedMs += kPollMs;
    }
}

int TerminalRun::statusCommand() {
    bool connected = false;
    const int code = connectReady(true, false, connected);
    if (connected)
        printStatus();
    return code == kGoOn ? kExitOk : code;
}

int TerminalRun::listCommand() {
    std::vector<ListedUnit> units;
    listUnits(units);
    for (const ListedUnit& unit : units) {
        std::wstring versions[3] = {L"-", L"-", L"-"};
        std::string outcome = unit.inUse ? "in-use" : "no-access";
        if (unit.openable) {
            UnitConnection listed;
            const ConnectionOutcome found =
                connectionOutcome(listed, openUnitAt(listed, unit.path));
            outcome = outcomeRow(found).name;
            // The controller's versions are read only from an updatable controller.
            const bool controller = found == ConnectionOutcome::ReadyToUpdate ||
                                    found == ConnectionOutcome::EscIncompatible;
            if (unitIsOpen(listed))
                versions[0] = unitVersionText(listed.unitFirmwareVersion);
            if (controller) {
                versions[1] = longVersionForm(escBootloaderVersion(listed));
                versions[2] = escVersionText(escFirmwareVersion(listed));
            }
            closeUnit(listed);
        }
        if (options_.json) {
            out() << "{\"type\":\"unit\",\"device\":" << jsonString(unit.path)
                  << ",\"product\":" << jsonString(productLabel(unit.productId))
                  << ",\"unit\":" << jsonString(versions[0])
                  << ",\"bootloader\":" << jsonString(versions[1])
                  << ",\"controller\":" << jsonString(versions[2]) << ",\"outcome\":\"" << outcome
                  << "\"}\n";
        } else {
            out() << utf8Lines(unit.path + L"  " + productLabel(unit.productId) + L"  " +
                               versions[0] + L"  " + versions[1] + L"  " + versions[2])
                  << "  " << outcome << '\n';
        }
    }
    out() << std::flush;
    return units.empty() ? kExitNoUnit : kExitOk;
}

// Runs what the update's worker sends to the window's thread until the update ends.
// Interrupts are looked at between its calls, at least ten times a second, and refused, as
// Close is in the window.
void TerminalRun::pumpUntilUpdateEnds() {
    while (session_.updateRunning()) {
        if (setup_.interrupt->exchange(false)) {
            err() << '\n' << utf8Lines(loadText(IDS_CLI_INTERRUPT_REFUSED)) << '\n' << std::flush;
            stopAfterUpdate_ = true;
        }
        frontEnd_.runNext(std::chrono::milliseconds(100));
    }
}

// One press of Update on the ready unit, to its result.
int TerminalRun::updateOnce() {
    session_.updatePressed();
    pumpUntilUpdateEnds();
    flushMessages();
    switch (session_.lastUpdateEnd()) {
    case UpdateEnd::Succeeded:
        printResult("updated", session_.view().hint);
        return kExitOk;
    case UpdateEnd::Failed:
        if (options_.json)
            printResult("failed", session_.view().hint);
        return kExitFailed;
    case UpdateEnd::Declined:
    case UpdateEnd::None:
        break;
    }
    if (interrupted())
        return kExitInterrupted;
    const bool skipped = session_.declinedAt() == BoxId::ConfirmSameOrNewer;
    const std::wstring why = loadText(skipped ? IDS_CLI_SKIPPED_SAME_OR_NEWER : IDS_CLI_DECLINED);
    if (options_.json)
        printResult(skipped ? "skipped" : "declined", why);
    else
        say(why);
    return kExitDeclined;
}

int TerminalRun::updateCommand() {
    bool connected = false;
    const int code = connectReady(false, false, connected);
    if (connected && (!options_.quiet || code != kGoOn))
        printStatus();
    if (code != kGoOn)
        return code;
    return updateOnce();
}

void TerminalRun::waitForRemoval(const std::wstring& path) {
    say(formatText(loadText(IDS_CLI_REMOVE_UNIT), {path}));
    for (;;) {
        std::vector<std::wstring> paths;
        platformListHidInterfaces(paths);
        bool present = false;
        for (const std::wstring& p : paths)
            present = present || platformSamePath(p, path);
        if (!present || interrupted())
            return;
        setup_.idle();
    }
}

int TerminalRun::productionLine() {
    if (!options_.yes && !setup_.interactive) {
        complain(formatText(loadText(IDS_CLI_USAGE_ERROR), {loadText(IDS_CLI_NOT_POSSIBLE)}));
        return kExitUsage;
    }
    std::uint32_t updated = 0, failed = 0, skipped = 0;
    int ended = kExitOk;
    while (options_.count == 0 || static_cast<long>(updated + failed + skipped) < options_.count) {
        bool connected = false;
        const int code = connectReady(true, true, connected);
        if (code != kGoOn) {
            ended = code; // the wait ran out, or an interrupt came while waiting
            break;
        }
        if (!options_.quiet)
            printStatus();
        const std::wstring path = session_.view().device;
        const int result = updateOnce();
        if (result == kExitOk)
            ++updated;
        else if (result == kExitFailed)
            ++failed;
        else
            ++skipped;
        if (stopAfterUpdate_ || interrupted()) {
            ended = kExitInterrupted;
            break;
        }
        session_.release();
        waitForRemoval(path);
    }
    const std::wstring tally = formatText(loadText(IDS_CLI_TALLY), {updated, failed, skipped});
    if (options_.json)
        out() << "{\"type\":\"tally\",\"updated\":" << updated << ",\"failed\":" << failed
              << ",\"skipped\":" << skipped << "}\n";
    else
        out() << utf8Lines(tally) << '\n';
    out() << std::flush;
    return failed > 0 ? kExitFailed : ended;
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
    if (options_.parallel)
        return parallelLine(setup_, options_);
    return options_.each ? productionLine() : updateCommand();
}

} // namespace

int terminalMain(const std::vector<std::wstring>& args, const TerminalSetup& given) {
    std::atomic<bool> noInterrupt{false};
    TerminalSetup setup = given;
    if (setup.interrupt == nullptr)
        setup.interrupt = &noInterrupt;
    if (!setup.idle)
        setup.idle = [] { platformWait(kPollMs); };

    TerminalOptions options;
    std::wstring problem;
    if (!parseTerminalArguments(args, options, problem)) {
        *setup.err << utf8Lines(formatText(loadText(IDS_CLI_USAGE_ERROR), {problem})) << '\n'
                   << std::flush;
        return kExitUsage;
    }
    if (options.help) {
        *setup.out << utf8Lines(loadText(IDS_CLI_USAGE)) << std::flush;
        return kExitOk;
    }
    if (options.version) {
        *setup.out << PROGRAM_NAME "-cli " PROGRAM_VERSION "\n" << std::flush;
        return kExitOk;
    }

    TerminalRun run(setup, options);
    const int status = run.command();
    run.close();
    return status;
}
