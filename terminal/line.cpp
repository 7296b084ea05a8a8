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

namespace {

class Line {
  public:
    Line(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files);
    int run();

  private:
    bool ask(LineUnit& unit, const Box& box);
    void progress(LineUnit& unit, const ProgressState& state);
    void redraw();
    std::size_t writing() const;
    bool mayStartAnother() const;
    bool poll();
    void start(const ListedUnit& listed);
    void finishEnded();
    void record(LineUnit& unit, UnitResult result, const std::wstring& text);

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    StationFiles& files_;
    bool recordFailed_ = false; // then no unit starts any more
    bool redrawDue_ = false; // a unit's progress is due to be drawn
    ProgressThrottle blockThrottle_{kRedrawnProgress};
    const long limit_; // units written at once; 0: no limit
    WorkQueue queue_;
    LineLink link_;
    LineReport report_;
    std::map<std::wstring, std::unique_ptr<LineUnit>> units_;
    std::size_t finished_ = 0;
    std::wstring lastSeen_;
    std::uint64_t started_ = 0;
    std::unique_ptr<AnswerReader> reader_;
};

Line::Line(const TerminalSetup& setup, const TerminalOptions& options, StationFiles& files)
    : setup_(setup), options_(options), files_(files),
      limit_(options.parallel ? options.parallelLimit : 1),
      report_(setup, options) {
    link_.queue = &queue_;
    link_.options = &options_;
    link_.personAtTerminal = setup.personAtTerminal();
    link_.ask = [this](LineUnit& unit, const Box& box) { return ask(unit, box); };
    link_.progress = [this](LineUnit& unit, const ProgressState& state) { progress(unit, state); };
}

std::size_t Line::writing() const {
    std::size_t count = 0;
    for (const auto& entry : units_)
        count += entry.second->state == UnitState::Writing;
    return count;
}

bool Line::mayStartAnother() const {
    if (recordFailed_)
        return false;
    const long busy = static_cast<long>(writing());
    if (options_.count > 0 && static_cast<long>(finished_) + busy >= options_.count)
        return false;
    return limit_ == 0 || busy < limit_;
}

void Line::redraw() {
    std::vector<const LineUnit*> shown;
    for (const auto& entry : units_)
        if (entry.second->state == UnitState::Writing)
            shown.push_back(entry.second.get());
    std::sort(shown.begin(), shown.end(),
              [](const LineUnit* a, const LineUnit* b) { return a->order < b->order; });
    report_.redraw(shown);
}

// On a terminal the block, every unit at once, is redrawn as the throttle allows, by the
// line's loop: the writer that reports its progress waits for this call, and a slow
// console must not lengthen its waits. To a pipe or as JSON each unit's own steps.
void Line::progress(LineUnit& unit, const ProgressState& state) {
    unit.progress = state;
    if (options_.quiet || state.blocksTotal == 0)
        return;
    if (report_.drawsInPlace()) {
        redrawDue_ = blockThrottle_.due(state) || redrawDue_;
        return;
    }
    report_.progress(unit);
}

// A question about one unit, one at a time, naming it; the others go on meanwhile, and
// those that finish are recorded at once (their results are printed once it is answered),
// and drawn again once it is answered. An interrupt, or the end of input, declines.
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
    report_.answered(answered);
    redraw();
    return answered && isYes(answer, setup_.language);
}

void Line::record(LineUnit& unit, UnitResult result, const std::wstring& text) {
    unit.state = UnitState::Done;
    unit.session->release();
    ++finished_;
    // On the disk before its result is told; what could not be recorded stops the line.
    const auto took = std::chrono::steady_clock::now() - unit.startedAt;
    const StationEntry entry{
        std::chrono::system_clock::now(), unit.port, unit.path, unit.product, unit.versions[0],
        unit.versions[1], unit.versions[2], result, text,
        static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(took).count()),
        unit.session->view().image};
    if (!files_.keep(entry) && !recordFailed_) {
        recordFailed_ = true;
        report_.say(files_.problem());
    }
    report_.finished({unit.path, unit.port, unit.product, result, text});
    if (!options_.all)
        report_.say(formatText(loadText(setup_.language, IDS_CLI_REMOVE_UNIT),
                               {unitName(unit.path, unit.port)}));
}

void Line::finishEnded() {
    for (auto& entry : units_) {
        LineUnit& unit = *entry.second;
        if (unit.state != UnitState::Writing || unit.session->updateRunning())
            continue;
        const UnitResult result = updateResult(*unit.session, options_, setup_.personAtTerminal());
        record(unit, result,
               result == UnitResult::Updated ? unit.session->view().hint : unit.failure);
    }
}

void Line::start(const ListedUnit& listed) {
    auto unit = std::make_unique<LineUnit>();
    LineUnit& u = *unit;
    u.path = listed.path;
    u.port = listed.port;
    u.instance = listed.instance;
    u.product = productLabel(listed.productId);
    u.frontEnd = std::make_unique<UnitFrontEnd>(link_, u);
    u.session = std::make_unique<Session>(*u.frontEnd, setup_.language);
    if (files_.trace() != nullptr) {
        u.trace = files_.trace()->follow();
        u.session->traceWire(&u.trace);
    }
    units_[listed.path] = std::move(unit);
    if (!listed.openable) {
        u.state = UnitState::Refused;
        report_.refused(u, listed.inUse);
        return;
    }
    u.session->connect(u.path);
    const ConnectionOutcome outcome = u.session->view().outcome;
    if (outcome != ConnectionOutcome::ReadyToUpdate) {
        u.session->release();
        report_.notReady(u, outcome);
        return;
    }
    u.order = ++started_;
    u.versions[0] = u.session->view().unitVersion;
    u.versions[1] = u.session->view().bootloaderVersion;
    u.versions[2] = u.session->view().escVersion;
    u.startedAt = std::chrono::steady_clock::now();
    u.session->updatePressed();
    if (u.session->updateRunning()) {
        u.state = UnitState::Writing;
        report_.started(u);
        redraw();
        return;
    }
    const UnitResult result = updateResult(*u.session, options_, setup_.personAtTerminal());
    record(u, result,
           result == UnitResult::Failed ? u.failure : notWrittenText(setup_.language, result));
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
        const bool forget =
            state != UnitState::Writing && (!present || (changed && state != UnitState::Done));
        it = forget ? units_.erase(it) : std::next(it);
    }
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

int Line::run() {
    // --wait counts on the clock from the last unit's end or start, however long a look at
    // the bus or a wait between two took.
    const std::int64_t waitUs = options_.waitSeconds < 0 ? -1 : options_.waitSeconds * 1000000;
    std::int64_t idleSince = platformMicroseconds();
    bool stopping = false;
    bool polledOnce = false;
    int ended = kExitOk;
    WaitDeadline nextPoll = platformDeadline(0);
    for (;;) {
        // One piece of work at a time, so that arrivals and interrupts are looked at
        // however busy the writers keep this thread.
        queue_.runNext(std::chrono::milliseconds(0));
        if (redrawDue_) {
            redrawDue_ = false;
            redraw();
        }
        finishEnded();
        // Interrupts are refused while any write runs; no unit starts after one.
        if (setup_.interrupt->exchange(false)) {
            stopping = true;
            if (writing() > 0)
                report_.say(loadText(setup_.language, IDS_CLI_INTERRUPT_REFUSED));
        }
        if (writing() > 0) {
            if (!stopping && !options_.all && platformDeadline(0) >= nextPoll) {
                poll();
                nextPoll = platformDeadline(kUnitPollMs);
            }
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
        const bool startedAny = poll();
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

} // namespace

int productionLine(const TerminalSetup& setup, const TerminalOptions& options,
                   StationFiles& files) {
    // Without --yes each unit is asked, which needs someone to read the question.
    if (!options.yes && !setup.interactive) {
        *setup.err << utf8Lines(formatText(loadText(setup.language, IDS_CLI_USAGE_ERROR),
                                           {loadText(setup.language, IDS_CLI_LINE_NEEDS_YES)}))
                   << '\n'
                   << std::flush;
        return kExitUsage;
    }
    Line line(setup, options, files);
    return line.run();
}
