// What the terminal edition does: which unit, what is printed where, waiting, the update
// and the production line, and the exit status of each.
#include "session/terminal.h"

#include "session/window_queue.h"

#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "unitlink/unit_list.h"

#include <istream>
#include <ostream>

Terminal terminal;
std::atomic<bool> terminalInterruptRequested{false};

namespace {

constexpr std::uint32_t kPollMs = 500;
constexpr int kGoOn = -1;

std::ostream& out() {
    return *terminal.out;
}
std::ostream& err() {
    return *terminal.err;
}

// Diagnostics: standard error, unless --quiet.
void say(const std::wstring& text) {
    if (!terminal.options.quiet)
        err() << terminalLine(text) << '\n' << std::flush;
}
// Errors: standard error always.
void complain(const std::wstring& text) {
    err() << terminalLine(text) << '\n' << std::flush;
}

const char* outcomeName(ConnectionOutcome outcome) {
    switch (outcome) {
    case ConnectionOutcome::NoUnit:
        return "no-unit";
    case ConnectionOutcome::UnitWrongMode:
        return "wrong-mode";
    case ConnectionOutcome::NoUpdatableEsc:
        return "no-updatable-esc";
    case ConnectionOutcome::EscIncompatible:
        return "incompatible";
    case ConnectionOutcome::ReadyToUpdate:
        break;
    }
    return "ready";
}

int exitFor(ConnectionOutcome outcome) {
    switch (outcome) {
    case ConnectionOutcome::NoUnit:
        return kExitNoUnit;
    case ConnectionOutcome::UnitWrongMode:
        return kExitWrongMode;
    case ConnectionOutcome::NoUpdatableEsc:
        return kExitNoUpdatableEsc;
    case ConnectionOutcome::EscIncompatible:
        return kExitIncompatible;
    case ConnectionOutcome::ReadyToUpdate:
        break;
    }
    return kExitOk;
}

// The OK boxes the session showed, as results on standard output.
void flushMessages() {
    for (const Terminal::Message& m : terminal.messages) {
        if (terminal.options.json)
            out() << "{\"type\":\"message\",\"caption\":" << jsonString(m.caption)
                  << ",\"text\":" << jsonString(m.text) << "}\n";
        else
            out() << terminalLine(m.text) << '\n';
    }
    out() << std::flush;
    terminal.messages.clear();
}

void printStatus() {
    flushMessages();
    const std::wstring device = unitIsOpen(unitConnection) ? unitConnection.devicePath : L"";
    const ConnectionOutcome outcome = currentOutcome();
    if (terminal.options.json) {
        out() << "{\"type\":\"status\",\"device\":" << jsonString(device)
              << ",\"product\":" << jsonString(terminal.controls[IDC_UNIT_LABEL])
              << ",\"unit\":" << jsonString(terminal.controls[IDC_UNIT_VERSION])
              << ",\"bootloader\":" << jsonString(terminal.controls[IDC_BOOTLOADER_VERSION])
              << ",\"controller\":" << jsonString(terminal.controls[IDC_ESC_VERSION])
              << ",\"outcome\":\"" << outcomeName(outcome)
              << "\",\"hint\":" << jsonString(windowHint()) << "}\n"
              << std::flush;
        return;
    }
    const std::pair<int, int> rows[] = {{IDC_UNIT_LABEL, IDC_UNIT_VERSION},
                                        {IDC_BOOTLOADER_LABEL, IDC_BOOTLOADER_VERSION},
                                        {IDC_ESC_LABEL, IDC_ESC_VERSION}};
    for (const auto& [label, value] : rows)
        out() << terminalLine(formatText(terminalText(TerminalText::ProductLine),
                                         {terminal.controls[label], terminal.controls[value]}))
              << '\n';
    out() << '\n' << terminalLine(windowHint()) << '\n' << std::flush;
}

void printResult(const char* result, const std::wstring& text) {
    if (terminal.options.json)
        out() << "{\"type\":\"result\",\"result\":\"" << result
              << "\",\"text\":" << jsonString(text) << "}\n";
    else if (!text.empty())
        out() << terminalLine(text) << '\n';
    out() << std::flush;
}

void listOthers(const std::vector<ListedUnit>& units, const std::wstring& chosen) {
    for (const ListedUnit& unit : units)
        if (unit.path != chosen)
            say(L"  " + unit.path + L"  " + productLabel(unit.productId));
}

// Why a listed unit cannot be opened, said and as its exit status.
int refused(const ListedUnit& unit, bool speak) {
    if (unit.inUse) {
        if (speak)
            complain(formatText(terminalText(TerminalText::InUse), {unit.path}));
        return kExitInUse;
    }
    if (speak) {
        complain(formatText(terminalText(TerminalText::NoAccess), {unit.path}));
        complain(terminalText(TerminalText::NoAccessHow));
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
int chooseUnit(std::wstring& path, bool oneOfSeveral, bool speak, std::wstring& seen) {
    std::vector<ListedUnit> units;
    listUnits(units);
    seen = unitsSeen(units);
    const std::wstring& device = terminal.options.device;
    path.clear();
    if (!device.empty()) {
        for (const ListedUnit& unit : units) {
            if (unit.path != device)
                continue;
            if (!unit.openable)
                return refused(unit, speak);
            path = device;
            return kGoOn;
        }
        if (speak)
            say(formatText(terminalText(TerminalText::NotInList), {device}));
        return kExitNoUnit;
    }
    const ListedUnit* firstOpenable = nullptr;
    for (const ListedUnit& unit : units)
        if (unit.openable && firstOpenable == nullptr)
            firstOpenable = &unit;
    if (units.size() > 1 && !oneOfSeveral) {
        if (speak) {
            complain(terminalText(TerminalText::ChooseDevice));
            for (const ListedUnit& unit : units)
                complain(L"  " + unit.path + L"  " + productLabel(unit.productId));
        }
        return kExitSeveralUnits;
    }
    if (firstOpenable == nullptr && !units.empty())
        return refused(units[0], speak);
    if (units.size() > 1 && speak && terminal.options.command == TerminalCommand::Status) {
        say(terminalText(TerminalText::OthersPresent));
        listOthers(units, firstOpenable->path);
    }
    return kGoOn;
}

bool interrupted() {
    return terminalInterruptRequested.load();
}

// Connects as the window does; with --wait (or `waitAlways`) until a unit is ready,
// saying each other state once. kGoOn when ready, else the exit status; `connected` tells
// whether the session showed an outcome to print.
int connectReady(bool oneOfSeveral, bool waitAlways, bool& connected) {
    const bool waiting = waitAlways || terminal.options.wait;
    const long limitMs =
        terminal.options.waitSeconds < 0 ? -1 : terminal.options.waitSeconds * 1000;
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
            terminal.messages.clear();
            sessionConnect(path);
            code = currentOutcome() == ConnectionOutcome::ReadyToUpdate ? kGoOn
                                                                        : exitFor(currentOutcome());
            if (!waiting || code == kGoOn) {
                return code;
            }
            // Each other state once, as it is seen.
            if (windowHint() != lastHint) {
                lastHint = windowHint();
                for (const Terminal::Message& m : terminal.messages)
                    say(m.text);
                say(windowHint());
            }
            terminal.messages.clear();
        } else if (!waiting) {
            return code;
        }
        if (lastCode == kGoOn - 1)
            say(terminalText(TerminalText::WaitingFor));
        lastCode = code;
        if (limitMs >= 0 && waitedMs >= limitMs)
            return kExitNoUnit;
        terminal.idle();
        waitedMs += kPollMs;
    }
}

int statusCommand() {
    bool connected = false;
    const int code = connectReady(true, false, connected);
    if (connected)
        printStatus();
    return code == kGoOn ? kExitOk : code;
}

int listCommand() {
    std::vector<ListedUnit> units;
    listUnits(units);
    for (const ListedUnit& unit : units) {
        std::wstring versions[3] = {L"-", L"-", L"-"};
        std::string outcome = unit.inUse ? "in-use" : "no-access";
        if (unit.openable) {
            const ConnectionOutcome found =
                connectionOutcome(openUnitAt(unitConnection, unit.path));
            outcome = outcomeName(found);
            // The controller's versions are read only from an updatable controller.
            const bool controller = found == ConnectionOutcome::ReadyToUpdate ||
                                    found == ConnectionOutcome::EscIncompatible;
            if (unitIsOpen(unitConnection))
                versions[0] = unitVersionText(unitConnection.unitFirmwareVersion);
            if (controller) {
                versions[1] = longVersionForm(escBootloaderVersion(unitConnection));
                versions[2] = escVersionText(escFirmwareVersion(unitConnection));
            }
            closeUnit(unitConnection);
        }
        if (terminal.options.json) {
            out() << "{\"type\":\"unit\",\"device\":" << jsonString(unit.path)
                  << ",\"product\":" << jsonString(productLabel(unit.productId))
                  << ",\"unit\":" << jsonString(versions[0])
                  << ",\"bootloader\":" << jsonString(versions[1])
                  << ",\"controller\":" << jsonString(versions[2]) << ",\"outcome\":\"" << outcome
                  << "\"}\n";
        } else {
            out() << terminalLine(unit.path + L"  " + productLabel(unit.productId) + L"  " +
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
void pumpUntilUpdateEnds() {
    while (updateRunning()) {
        if (terminalInterruptRequested.exchange(false)) {
            err() << '\n'
                  << terminalLine(terminalText(TerminalText::InterruptRefused)) << '\n'
                  << std::flush;
            terminal.stopAfterUpdate = true;
        }
        windowQueueRunNext(std::chrono::milliseconds(100));
    }
}

// One press of Update on the ready unit, to its result.
int updateOnce() {
    terminal.sameOrNewerDeclined = false;
    startUpdate();
    pumpUntilUpdateEnds();
    flushMessages();
    switch (lastUpdateEnd()) {
    case UpdateEnd::Succeeded:
        printResult("updated", windowHint());
        return kExitOk;
    case UpdateEnd::Failed:
        if (terminal.options.json)
            printResult("failed", windowHint());
        return kExitFailed;
    case UpdateEnd::Declined:
    case UpdateEnd::None:
        break;
    }
    if (interrupted())
        return kExitInterrupted;
    const bool skipped = terminal.sameOrNewerDeclined;
    const std::wstring why =
        terminalText(skipped ? TerminalText::SkippedSameOrNewer : TerminalText::Declined);
    if (terminal.options.json)
        printResult(skipped ? "skipped" : "declined", why);
    else
        say(why);
    return kExitDeclined;
}

int updateCommand() {
    bool connected = false;
    const int code = connectReady(false, false, connected);
    if (connected && (!terminal.options.quiet || code != kGoOn))
        printStatus();
    if (code != kGoOn)
        return code;
    return updateOnce();
}

void waitForRemoval(const std::wstring& path) {
    say(formatText(terminalText(TerminalText::RemoveUnit), {path}));
    for (;;) {
        std::vector<std::wstring> paths;
        platformListHidInterfaces(paths);
        bool present = false;
        for (const std::wstring& p : paths)
            present = present || samePath(p, path);
        if (!present || interrupted())
            return;
        terminal.idle();
    }
}

int productionLine() {
    if (!terminal.options.yes && !terminal.interactive) {
        complain(formatText(terminalText(TerminalText::UsageError),
                            {terminalText(TerminalText::NotPossible)}));
        return kExitUsage;
    }
    std::uint32_t updated = 0, failed = 0, skipped = 0;
    bool stopped = false;
    while (terminal.options.count == 0 ||
           static_cast<long>(updated + failed + skipped) < terminal.options.count) {
        bool connected = false;
        if (connectReady(true, true, connected) != kGoOn) {
            stopped = true; // interrupted while waiting
            break;
        }
        if (!terminal.options.quiet)
            printStatus();
        const std::wstring path = unitConnection.devicePath;
        const int code = updateOnce();
        if (code == kExitOk)
            ++updated;
        else if (code == kExitFailed)
            ++failed;
        else
            ++skipped;
        if (terminal.stopAfterUpdate || interrupted()) {
            stopped = true;
            break;
        }
        closeUnit(unitConnection);
        waitForRemoval(path);
    }
    const std::wstring tally =
        formatText(terminalText(TerminalText::Tally), {updated, failed, skipped});
    if (terminal.options.json)
        out() << "{\"type\":\"tally\",\"updated\":" << updated << ",\"failed\":" << failed
              << ",\"skipped\":" << skipped << "}\n";
    else
        out() << terminalLine(tally) << '\n';
    out() << std::flush;
    if (failed > 0)
        return kExitFailed;
    return stopped ? kExitInterrupted : kExitOk;
}

} // namespace

int terminalMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, bool interactive, bool german) {
    const std::function<void()> idle = terminal.idle;
    terminal = Terminal{};
    terminal.in = &in;
    terminal.out = &out;
    terminal.err = &err;
    terminal.interactive = interactive;
    terminal.german = german;
    terminal.idle = idle ? idle : [] { platformWait(kPollMs); };
    terminalInterruptRequested = false;

    std::string problem;
    if (!parseTerminalArguments(args, terminal.options, problem)) {
        std::wstring wide(problem.begin(), problem.end());
        complain(formatText(terminalText(TerminalText::UsageError), {wide}));
        return kExitUsage;
    }
    if (terminal.options.help) {
        out << terminalLine(terminalText(TerminalText::Usage)) << std::flush;
        return kExitOk;
    }
    if (terminal.options.version) {
        out << "orca-75-lx-updater-cli 3.0.0\n" << std::flush;
        return kExitOk;
    }

    windowQueueBind();
    sessionPrepare();
    sessionLabelWindow();
    int status = kExitOk;
    switch (terminal.options.command) {
    case TerminalCommand::Status:
        status = statusCommand();
        break;
    case TerminalCommand::List:
        status = listCommand();
        break;
    case TerminalCommand::Update:
        status = terminal.options.each ? productionLine() : updateCommand();
        break;
    }
    sessionClose();
    return status;
}
