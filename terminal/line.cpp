#include "terminal/line.h"

#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "session/presentation.h"
#include "terminal/answer_reader.h"
#include "terminal/line_report.h"
#include "terminal/line_unit.h"
#include "terminal/station_record.h"
#include "terminal/unit_choice.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <ostream>
#include <set>

namespace {

// What a selection returns when the unit is ready to update.
constexpr int kUnitReady = -1;

class Line {
  public:
    Line(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files);
    int run();

  private:
    std::unique_ptr<LineUnit> makeUnit();
    void press(LineUnit& unit);
    void finish(LineUnit& unit, UnitResult result);
    bool declinedByInterrupt(UnitResult result) const;
    void finishEnded();
    void noteSeen(LineUnit& unit);
    void gone(LineUnit& unit);
    void takeAcknowledgement();
    bool ask(LineUnit& unit, const Box& box);
    void progress(LineUnit& unit, const ProgressState& state);
    void turn(bool& stopping);
    void takeChanges();
    bool lookDue(WaitDeadline* nextLook);
    std::size_t writing() const;
    // The single update and status.
    int runSingle();
    int chooseAndConnect(LineUnit& unit, bool& connected);
    // The production line.
    int runLine();
    bool mayStartAnother() const;
    bool poll();
    void start(const ListedUnit& listed);

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    StationFiles& files_;
    const bool single_;
    bool recordFailed_ = false;    // then no unit starts any more
    bool redrawDue_ = false;       // a unit's progress is due to be drawn
    bool changed_ = false;         // the platform told of a device change since the last look
    ProgressThrottle blockThrottle_{kRedrawnProgress};
    const long limit_; // units written at once; 0: no limit
    WorkQueue queue_;
    LineLink link_;
    LineReport report_;
    Voice voice_;
    std::map<std::wstring, std::unique_ptr<LineUnit>> units_;
    std::size_t finished_ = 0;
    std::wstring lastSeen_;
    std::uint64_t started_ = 0;
    std::unique_ptr<AnswerReader> reader_;
    // The controllers that failed at each socket in this run: one back is a repeat.
    std::map<std::wstring, std::set<std::string>> failedAt_;
    // When each unit present and not yet started was first seen (by path and instance):
    // its cycle begins at its plugging in, not when a free place starts it.
    std::map<std::wstring, std::pair<std::chrono::system_clock::time_point, std::uint64_t>> waitingSince_;
};

Line::Line(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files)
    : setup_(setup), options_(options), files_(files), single_(!options.each && !options.all),
      limit_(options.parallel ? options.parallelLimit : 1), report_(setup, options, single_) {
    link_.queue = &queue_;
    link_.options = &options_;
    link_.personAtTerminal = setup.personAtTerminal();
    link_.ask = [this](LineUnit& unit, const Box& box) { return ask(unit, box); };
    link_.answeredByRule = [this](LineUnit&, const Box& box, bool yes) {
        report_.answeredByRule(box, yes);
    };
    link_.progressOpened = [this](LineUnit&) { report_.progressOpened(); };
    link_.progressClosed = [this](LineUnit&) { report_.progressClosed(); };
    link_.progress = [this](LineUnit& unit, const ProgressState& state) { progress(unit, state); };
    voice_.language = setup.language;
    voice_.say = [this](const std::wstring& text) { report_.say(text); };
    voice_.complain = [this](const std::wstring& text) { report_.complain(text); };
}

std::unique_ptr<LineUnit> Line::makeUnit() {
    auto unit = std::make_unique<LineUnit>();
    unit->frontEnd = std::make_unique<UnitFrontEnd>(link_, *unit);
    unit->session = std::make_unique<Session>(*unit->frontEnd, setup_.language);
    if (files_.trace() != nullptr) {
        unit->trace = files_.trace()->follow();
        unit->session->traceWire(&unit->trace);
    }
    return unit;
}

std::size_t Line::writing() const {
    std::size_t count = 0;
    for (const auto& entry : units_)
        count += entry.second->state == UnitState::Writing;
    return count;
}

void Line::noteSeen(LineUnit& unit) {
    unit.seenAt = std::chrono::system_clock::now();
    unit.seenUs = static_cast<std::uint64_t>(platformMicroseconds());
}

// A line's unit taken out: a finished one's unplugging goes into the record after its
// line, and its cycle onto the screen.
void Line::gone(LineUnit& unit) {
    if (unit.recordId.empty()) {
        report_.emptied(unit);
        return;
    }
    files_.keepUnplugged(unit.recordId, unit.port, unit.path, std::chrono::system_clock::now());
    const std::uint64_t now = static_cast<std::uint64_t>(platformMicroseconds());
    report_.unplugged(unit, now > unit.seenUs ? (now - unit.seenUs) / 1000 : 0);
}

// On the screen, failures stay listed until a line is typed (Enter) while no question
// waits; only a person at the terminal types one.
void Line::takeAcknowledgement() {
    if (!setup_.personAtTerminal() || !report_.awaitsAcknowledgement())
        return;
    if (!reader_)
        reader_ = std::make_unique<AnswerReader>(*setup_.in);
    if (reader_->ended())
        return;
    if (!reader_->pending())
        reader_->request();
    // The end of input is no one at the keyboard: only a line typed acknowledges.
    std::string line;
    if (reader_->take(line) && !reader_->ended())
        report_.acknowledged();
}

// The station screen, every unit at once, is redrawn as the throttle allows, by
// the engine's loop: the writer that reports its progress waits for this call, and a slow
// console must not lengthen its waits. Otherwise each unit's own steps.
void Line::progress(LineUnit& unit, const ProgressState& state) {
    unit.progress = state;
    if (options_.quiet || state.blocksTotal == 0)
        return;
    if (report_.drawsInPlace()) {
        report_.progress(unit);
        redrawDue_ = blockThrottle_.due(state) || redrawDue_;
        return;
    }
    report_.progress(unit);
}

// A question about one unit, one at a time; the others go on meanwhile, and those that
// finish are recorded at once (their results told once it is answered, and drawn again).
// An interrupt, or the end of input, declines.
bool Line::ask(LineUnit& unit, const Box& box) {
    report_.question(unit, box);
    if (!reader_)
        reader_ = std::make_unique<AnswerReader>(*setup_.in);
    reader_->request();
    std::string answer;
    bool answered = false;
    while (!(answered = reader_->take(answer)) && !setup_.interrupt->load()) {
        queue_.runNext(std::chrono::milliseconds(5));
        finishEnded();
    }
    report_.answered(answered, reader_->ended());
    report_.redraw();
    return answered && isYes(answer, setup_.language);
}

// The update pressed on a unit that is ready: written from now on, or, declined or
// skipped at once, finished.
void Line::press(LineUnit& u) {
    const SessionView& view = u.session->view();
    ++started_;
    u.versions[0] = view.unitVersion;
    u.versions[1] = view.bootloaderVersion;
    u.versions[2] = view.escVersion;
    u.image = view.image;
    u.identity = view.identity;
    u.startedAt = std::chrono::steady_clock::now();
    u.startedWall = std::chrono::system_clock::now();
    u.session->updatePressed();
    if (u.session->updateRunning()) {
        u.state = UnitState::Writing;
        report_.started(u);
        report_.redraw();
        return;
    }
    finish(u, updateResult(*u.session, options_, setup_.personAtTerminal()));
}

// A single update that an interrupt declined ends with nothing recorded or told.
bool Line::declinedByInterrupt(UnitResult result) const {
    return single_ && result != UnitResult::Updated && result != UnitResult::Failed &&
           setup_.interrupt->load();
}

// The one place a unit ends: on the disk before its result is told, in the trace, then
// told. What could not be recorded stops the line.
void Line::finish(LineUnit& u, UnitResult result) {
    u.state = UnitState::Done;
    if (declinedByInterrupt(result))
        return;
    ++finished_;
    std::wstring text = notWrittenText(setup_.language, result);
    if (result == UnitResult::Updated || (single_ && result == UnitResult::Failed))
        text = u.session->view().hint;
    else if (result == UnitResult::Failed)
        text = u.failure;
    if (!single_)
        u.session->release();
    const std::string controller = controllerKey(u.identity);
    std::set<std::string>& failedHere = failedAt_[u.socket()];
    u.repeat = !controller.empty() && failedHere.count(controller) != 0;
    if (result == UnitResult::Failed && !controller.empty())
        failedHere.insert(controller);
    u.finishedWall = std::chrono::system_clock::now();
    u.recordId = files_.nextId();
    StationEntry entry;
    entry.id = u.recordId;
    entry.finishedAt = u.finishedWall;
    entry.seenAt = u.seenAt;
    entry.startedAt = u.startedWall;
    entry.port = u.port;
    entry.device = u.path;
    entry.product = u.product;
    entry.unit = u.versions[0];
    entry.bootloader = u.versions[1];
    entry.controller = u.versions[2];
    entry.result = result;
    entry.failure = u.failure;
    entry.durationMs = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                      std::chrono::steady_clock::now() - u.startedAt)
                                                      .count());
    entry.image = u.image;
    entry.identity = u.identity;
    entry.repeat = u.repeat;
    const bool kept = files_.keep(entry);
    if (!kept && !recordFailed_) {
        recordFailed_ = true;
        if (!single_)
            report_.say(files_.problem());
    }
    report_.finished(u, {u.path, u.port, u.product, result, text},
                     single_ && !kept ? files_.problem() : std::wstring());
}

void Line::finishEnded() {
    for (auto& entry : units_) {
        LineUnit& unit = *entry.second;
        if (unit.state == UnitState::Writing && !unit.session->updateRunning())
            finish(unit, updateResult(*unit.session, options_, setup_.personAtTerminal()));
    }
}

// The device changes the platform told of: a removal reaches the unit's session (which
// holds it while it writes) and marks the unit gone, so that a unit plugged in again at
// the same node is a new one; any change asks for a look at what is plugged in.
void Line::takeChanges() {
    if (!setup_.nextChange)
        return;
    for (HotPlugEvent event; setup_.nextChange(event);) {
        changed_ = true;
        if (event.arrival)
            continue;
        for (auto& entry : units_) {
            LineUnit& unit = *entry.second;
            if (unit.path.empty() || !platformSamePath(unit.path, event.path))
                continue;
            unit.removed = true;
            unit.session->deviceChanged(DeviceChange::Removal, event.path);
        }
    }
}

// Whether to look at what is plugged in: where the platform tells of changes, when one
// came; elsewhere after each idle wait, and while units write every kUnitPollMs.
bool Line::lookDue(WaitDeadline* nextLook) {
    if (setup_.nextChange) {
        const bool due = changed_;
        changed_ = false;
        return due;
    }
    if (nextLook == nullptr)
        return true;
    if (platformDeadline(0) < *nextLook)
        return false;
    *nextLook = platformDeadline(kUnitPollMs);
    return true;
}

// One piece of work at a time, so that arrivals and interrupts are looked at however busy
// the writers keep this thread. Interrupts are refused while any unit writes, as Close is
// in the window; after one no unit starts.
void Line::turn(bool& stopping) {
    queue_.runNext(std::chrono::milliseconds(0));
    if (redrawDue_) {
        redrawDue_ = false;
        report_.redraw();
    }
    takeChanges();
    finishEnded();
    takeAcknowledgement();
    if (setup_.interrupt->exchange(false)) {
        stopping = true;
        if (writing() > 0)
            report_.interruptRefused();
    }
}

// As the window: a unit is asked again only when something was plugged in or out; with
// --wait until one is ready, saying each other state once. kUnitReady, or the exit status
// (kExitNoUnit also when the wait ran out). `connected`: the session has a state to tell.
int Line::chooseAndConnect(LineUnit& unit, bool& connected) {
    const std::int64_t deadline =
        options_.waitSeconds < 0 ? -1 : platformMicroseconds() + options_.waitSeconds * 1000000;
    const bool oneOfSeveral = options_.command == TerminalCommand::Status;
    bool firstRound = true;
    int lastStatus = kUnitReady;
    std::wstring lastHint, lastSeen;
    for (;; firstRound = false) {
        if (setup_.interrupt->load())
            return kExitInterrupted;
        takeChanges();
        if (!lookDue(nullptr) && !firstRound) {
            if (deadline >= 0 && platformMicroseconds() >= deadline)
                return kExitNoUnit;
            setup_.idle();
            continue;
        }
        std::vector<ListedUnit> listed;
        listUnits(listed);
        const std::vector<ListedUnit> units = onChosenPorts(std::move(listed), options_);
        std::wstring path;
        int status = kUnitReady;
        // Waiting, why not is said at the first look and whenever it changes.
        const bool speak = !options_.wait || firstRound;
        connected = chooseUnit(units, options_, oneOfSeveral, speak ? &voice_ : nullptr, path, status);
        if (!connected && options_.wait && !firstRound && status != lastStatus)
            chooseUnit(units, options_, oneOfSeveral, &voice_, path, status);
        const std::wstring seen = unitsSeen(units);
        const bool changed = firstRound || seen != lastSeen;
        lastSeen = seen;
        if (connected && !changed) {
            status = lastStatus;
        } else if (connected) {
            unit.shown.clear();
            noteSeen(unit);
            unit.session->connect(path);
            const SessionView& view = unit.session->view();
            unit.path = view.device;
            unit.port = view.port;
            unit.product = view.unitLabel;
            status = view.outcome == ConnectionOutcome::ReadyToUpdate
                         ? kUnitReady
                         : outcomeExitStatus(view.outcome);
            if (!options_.wait || status == kUnitReady)
                return status;
            // Each other state once, as it is seen.
            if (view.hint != lastHint) {
                lastHint = view.hint;
                for (const Box& box : unit.shown)
                    voice_.say(box.text);
                voice_.say(lastHint);
            }
            unit.shown.clear();
        } else if (!options_.wait) {
            return status;
        }
        if (firstRound)
            voice_.say(loadText(setup_.language, IDS_CLI_WAITING_FOR));
        lastStatus = status;
        if (deadline >= 0 && platformMicroseconds() >= deadline)
            return kExitNoUnit;
        setup_.idle();
    }
}

// A line of one, or status: the unit chosen, its state told, and, for update, written.
int Line::runSingle() {
    LineUnit& u = *(units_[std::wstring()] = makeUnit());
    bool connected = false;
    const int status = chooseAndConnect(u, connected);
    const bool update = options_.command == TerminalCommand::Update;
    if (connected && (!update || !options_.quiet || status != kUnitReady))
        report_.status(u);
    if (!update) {
        u.session->close();
        if (u.session->view().image.damaged)
            return kExitImageDamaged;
        return status == kUnitReady ? kExitOk : status;
    }
    if (status != kUnitReady) {
        u.session->close();
        return status;
    }
    press(u);
    bool stopping = false;
    while (u.state == UnitState::Writing) {
        turn(stopping);
        if (u.state == UnitState::Writing)
            queue_.runNext(std::chrono::milliseconds(100));
    }
    u.session->close();
    const UnitResult result = updateResult(*u.session, options_, setup_.personAtTerminal());
    if (declinedByInterrupt(result))
        return kExitInterrupted;
    if (recordFailed_)
        return kExitRecordFailed;
    return resultExitStatus(result);
}

bool Line::mayStartAnother() const {
    if (recordFailed_)
        return false;
    const long busy = static_cast<long>(writing());
    if (options_.count > 0 && static_cast<long>(finished_) + busy >= options_.count)
        return false;
    return limit_ == 0 || busy < limit_;
}

void Line::start(const ListedUnit& listed) {
    std::unique_ptr<LineUnit> unit = makeUnit();
    LineUnit& u = *unit;
    u.path = listed.path;
    u.port = listed.port;
    u.instance = listed.instance;
    u.product = productLabel(listed.productId);
    units_[listed.path] = std::move(unit);
    noteSeen(u);
    const auto waited = waitingSince_.find(listed.path + L"#" + listed.instance);
    if (waited != waitingSince_.end()) {
        u.seenAt = waited->second.first;
        u.seenUs = waited->second.second;
        waitingSince_.erase(waited);
    }
    if (!listed.openable) {
        u.state = UnitState::Refused;
        report_.refused(u, listed.inUse);
        return;
    }
    report_.identifying(u);
    u.session->connect(u.path);
    const ConnectionOutcome outcome = u.session->view().outcome;
    if (outcome != ConnectionOutcome::ReadyToUpdate) {
        u.session->release();
        report_.notReady(u, outcome);
        return;
    }
    press(u);
}

// Looks at what is plugged in: units that went are forgotten (plugged in again, even at the
// same path between two looks, a unit is a new one), units not yet seen start, up to the
// limit. True when one started.
bool Line::poll() {
    std::vector<ListedUnit> present;
    listUnits(present);
    const std::vector<ListedUnit> listed = onChosenPorts(std::move(present), options_);
    // A unit not ready is asked again only when something was plugged in or out.
    const std::wstring seen = unitsSeen(listed);
    const bool changed = seen != lastSeen_;
    lastSeen_ = seen;
    for (auto it = units_.begin(); it != units_.end();) {
        bool present = false;
        for (const ListedUnit& unit : listed)
            present = present || (platformSamePath(unit.path, it->first) &&
                                  unit.instance == it->second->instance);
        const UnitState state = it->second->state;
        const bool out = !present || it->second->removed;
        const bool forget = state != UnitState::Writing && (out || (changed && state != UnitState::Done));
        if (forget && out)
            gone(*it->second);
        it = forget ? units_.erase(it) : std::next(it);
    }
    std::map<std::wstring, std::pair<std::chrono::system_clock::time_point, std::uint64_t>> waiting;
    for (const ListedUnit& unit : listed) {
        if (units_.count(unit.path) != 0)
            continue;
        const std::wstring key = unit.path + L"#" + unit.instance;
        const auto before = waitingSince_.find(key);
        waiting[key] = before != waitingSince_.end()
                           ? before->second
                           : std::make_pair(std::chrono::system_clock::now(),
                                            static_cast<std::uint64_t>(platformMicroseconds()));
    }
    waitingSince_.swap(waiting);
    const std::uint64_t before = started_;
    for (const ListedUnit& unit : listed) {
        if (units_.count(unit.path) != 0)
            continue;
        if (!mayStartAnother())
            break;
        start(unit);
    }
    return started_ != before;
}

int Line::runLine() {
    // --wait counts on the clock from the last unit's end or start, however long a look at
    // the bus or a wait between two took.
    const std::int64_t waitUs = options_.waitSeconds < 0 ? -1 : options_.waitSeconds * 1000000;
    std::int64_t idleSince = platformMicroseconds();
    bool stopping = false;
    bool polledOnce = false;
    int ended = kExitOk;
    WaitDeadline nextLook = platformDeadline(0);
    for (;;) {
        turn(stopping);
        if (writing() > 0) {
            if (!stopping && !options_.all && lookDue(&nextLook))
                poll();
            queue_.runNext(std::chrono::milliseconds(5));
            idleSince = platformMicroseconds();
            continue;
        }
        if (stopping) {
            ended = kExitInterrupted;
            break;
        }
        if (recordFailed_)
            break;
        if (options_.count > 0 && static_cast<long>(finished_) >= options_.count)
            break;
        if (options_.all && polledOnce)
            break;
        const bool looked = !polledOnce || lookDue(nullptr);
        const bool startedAny = looked && poll();
        polledOnce = true;
        if (startedAny || options_.all) {
            idleSince = platformMicroseconds();
            continue;
        }
        if (waitUs >= 0 && platformMicroseconds() - idleSince >= waitUs) {
            ended = kExitNoUnit;
            break;
        }
        setup_.idle();
    }
    const int status = report_.tally(ended, files_.keepsRecord(), files_.problem());
    return recordFailed_ ? kExitRecordFailed : status;
}

int Line::run() {
    return single_ ? runSingle() : runLine();
}

} // namespace

int runUnits(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files) {
    // Without --yes each unit of a line is asked, which needs someone to read the question.
    if ((options.each || options.all) && !options.yes && !setup.interactive) {
        *setup.err << utf8Lines(formatText(loadText(setup.language, IDS_CLI_USAGE_ERROR),
                                           {loadText(setup.language, IDS_CLI_LINE_NEEDS_YES)}))
                   << '\n'
                   << std::flush;
        return kExitUsage;
    }
    Line line(setup, options, files);
    return line.run();
}
