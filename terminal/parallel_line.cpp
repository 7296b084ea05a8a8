// The parallel production line: every unit that becomes ready is written at once, each by
// its own session on its own worker, up to a limit; the line's own thread draws them all
// and starts the next ones as they arrive. One unit's failure, removal or silence reaches
// only its own result.
#include "terminal/terminal.h"

#include "terminal/live_lines.h"

#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "session/work_queue.h"
#include "unitlink/unit_list.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <istream>
#include <mutex>
#include <thread>
#include <map>
#include <memory>
#include <ostream>

namespace {

constexpr std::uint32_t kPollMs = 500;

enum class UnitState { NotReady, Refused, Writing, Done };

class Line;

// Standard input, one line at a time on a thread of its own, so that the line's thread
// keeps running the writers' work while a question waits for its answer.
class AnswerReader {
  public:
    explicit AnswerReader(std::istream& in) : state_(std::make_shared<State>(in)) {}
    ~AnswerReader();
    // Starts reading the next line.
    void request();
    // The line once it came: true with it, or with the end of input as an empty line.
    bool take(std::string& answer);

  private:
    // Shared with the reading thread, which may outlive the reader in a read that no
    // one will answer.
    struct State {
        explicit State(std::istream& in) : in(in) {}
        std::istream& in;
        std::mutex lock;
        std::condition_variable changed;
        bool requested = false, ready = false, stop = false;
        std::string line;
    };
    static void read(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

AnswerReader::~AnswerReader() {
    std::unique_lock<std::mutex> held(state_->lock);
    state_->stop = true;
    state_->changed.notify_all();
    const bool reading = state_->requested && !state_->ready;
    held.unlock();
    if (!thread_.joinable())
        return;
    // A read that no one will answer ends with the process.
    if (reading)
        thread_.detach();
    else
        thread_.join();
}

void AnswerReader::request() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->requested = true;
    state_->ready = false;
    if (!thread_.joinable())
        thread_ = std::thread(read, state_);
    state_->changed.notify_all();
}

bool AnswerReader::take(std::string& answer) {
    std::lock_guard<std::mutex> guard(state_->lock);
    if (!state_->ready)
        return false;
    answer = state_->line;
    state_->ready = state_->requested = false;
    return true;
}

void AnswerReader::read(const std::shared_ptr<State>& state) {
    for (;;) {
        {
            std::unique_lock<std::mutex> held(state->lock);
            state->changed.wait(held,
                                [&] { return state->stop || (state->requested && !state->ready); });
            if (state->stop)
                return;
        }
        std::string line;
        if (!std::getline(state->in, line))
            line.clear();
        std::lock_guard<std::mutex> guard(state->lock);
        state->line = line;
        state->ready = true;
    }
}

struct LineUnit {
    std::wstring path;
    std::wstring product;
    UnitState state = UnitState::NotReady;
    std::unique_ptr<FrontEnd> frontEnd;
    std::unique_ptr<Session> session;
    ProgressState progress{};
    std::uint32_t lastTenth = 0;
    std::wstring failure; // the failure box's text, with its code line
    std::uint64_t order = 0;
};

struct Result {
    std::wstring path, product;
    const char* result; // updated, failed, skipped
    std::wstring text;
};

// One unit's front end: its boxes answered by the flags, its progress and result drawn by
// the line; its window thread is the line's.
class UnitFrontEnd : public FrontEnd {
  public:
    UnitFrontEnd(Line& line, LineUnit& unit) : line_(line), unit_(unit) {}
    void render(const SessionView&) override {}
    bool ask(const Box& box) override;
    void stopDeviceChanges() override {}
    void end(EndStatus) override {}
    WindowFrame mainFrame() override { return {0, 0, 0, 0}; }
    FeedbackWindow mainWindow() override { return nullptr; }
    FeedbackWindow inFront() override { return nullptr; }
    void raise(FeedbackWindow) override {}
    void show(FeedbackWindow) override {}
    FeedbackWindow openProgress(const std::wstring&, int, int, int, int) override { return &unit_; }
    void showProgress(FeedbackWindow, const ProgressState& state) override;
    void closeProgress(FeedbackWindow) override {}
    void run(const std::function<void()>& work) override;
    void postUpdateEnded() override;

  private:
    Line& line_;
    LineUnit& unit_;
};

class Line {
  public:
    Line(const TerminalSetup& setup, const TerminalOptions& options)
        : setup_(setup), options_(options) {
        if (drawsInPlace())
            drawer_ = std::make_unique<LiveDrawer>(*setup_.err);
    }
    int run();

    WorkQueue& queue() { return queue_; }
    const TerminalOptions& options() const { return options_; }
    void progress(LineUnit& unit, const ProgressState& state);
    bool ask(LineUnit& unit, const Box& box);

  private:
    std::ostream& out() { return *setup_.out; }
    std::ostream& err() { return *setup_.err; }
    bool drawsInPlace() const { return setup_.interactive && !options_.quiet && !options_.json; }
    std::size_t writing() const;
    bool countReached() const;
    bool poll();
    void start(const ListedUnit& listed);
    void finishEnded();
    void record(LineUnit& unit, const char* result, const std::wstring& text);
    void say(const std::wstring& text);
    void sayResult(const Result& result);
    std::vector<std::string> liveLines() const;
    void printTally(std::uint32_t updated, std::uint32_t failed, std::uint32_t skipped);

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    WorkQueue queue_;
    std::unique_ptr<LiveDrawer> drawer_; // on a terminal
    std::map<std::wstring, std::unique_ptr<LineUnit>> units_;
    std::vector<Result> results_;
    std::wstring lastSeen_;
    std::uint64_t started_ = 0;
    std::unique_ptr<AnswerReader> reader_;
};

std::wstring unitLine(const std::wstring& path, const std::wstring& product,
                      const std::wstring& what) {
    return formatText(loadText(IDS_CLI_UNIT_LINE), {path, product, what});
}

// Updated or failed in a word; a skipped unit's reason in full (current, or declined).
std::wstring resultWords(const Result& r) {
    if (r.result[0] == 's')
        return r.text;
    return loadText(r.result[0] == 'u' ? IDS_CLI_RESULT_UPDATED : IDS_CLI_RESULT_FAILED);
}

bool UnitFrontEnd::ask(const Box& box) {
    switch (boxAnswer(box.id, line_.options())) {
    case BoxAnswer::Yes:
        return true;
    case BoxAnswer::No:
        return false;
    case BoxAnswer::Prompt:
        return line_.ask(unit_, box);
    case BoxAnswer::Show:
        break;
    }
    if (box.id == BoxId::UpdateFailed)
        unit_.failure = box.text;
    return true;
}

void UnitFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    line_.progress(unit_, state);
}

void UnitFrontEnd::run(const std::function<void()>& work) {
    line_.queue().run(work);
}

void UnitFrontEnd::postUpdateEnded() {
    Session* session = unit_.session.get();
    line_.queue().post([session] { session->updateEnded(); });
}

std::size_t Line::writing() const {
    std::size_t count = 0;
    for (const auto& entry : units_)
        count += entry.second->state == UnitState::Writing;
    return count;
}

bool Line::countReached() const {
    return options_.count > 0 && static_cast<long>(results_.size() + writing()) >= options_.count;
}

void Line::say(const std::wstring& text) {
    if (options_.quiet)
        return;
    const std::string line = utf8Lines(text);
    if (drawer_)
        drawer_->print([&] { err() << line << '\n' << std::flush; });
    else
        err() << line << '\n' << std::flush;
}

// A unit's progress, its path as given; lock, erase and address come before the first
// block.
std::wstring progressText(const LineUnit& unit, const std::wstring& path) {
    const ProgressState& p = unit.progress;
    if (p.blocksTotal == 0)
        return unitLine(path, unit.product, loadText(IDS_CLI_RESULT_WRITING));
    return formatText(
        loadText(IDS_CLI_UNIT_PROGRESS),
        {path, unit.product, p.percent, p.blocksWritten, p.blocksTotal, p.secondsLeft});
}

std::vector<std::string> Line::liveLines() const {
    std::vector<const LineUnit*> shown;
    for (const auto& entry : units_)
        if (entry.second->state == UnitState::Writing)
            shown.push_back(entry.second.get());
    std::sort(shown.begin(), shown.end(),
              [](const LineUnit* a, const LineUnit* b) { return a->order < b->order; });
    std::vector<std::string> lines;
    const std::size_t width = consoleWidth();
    for (const LineUnit* unit : shown) {
        // A path too long for the line (Windows' interface paths) gives way at its end,
        // where every interface of the class ends alike, so that the figures stay.
        std::wstring path = unit->path;
        const std::size_t rest = progressText(*unit, L"").size();
        if (rest + path.size() + 1 > width && width > rest + 16)
            path = path.substr(0, width - rest - 4) + L"...";
        lines.push_back(utf8Lines(progressText(*unit, path)));
    }
    return lines;
}

// On a terminal every unit's line in place; to a pipe or a log each unit's 10 % steps as
// lines that start with its node; as JSON a progress line at each 10 %.
void Line::progress(LineUnit& unit, const ProgressState& state) {
    const bool newPercent = state.percent != unit.progress.percent || state.blocksWritten == 0;
    unit.progress = state;
    if (options_.quiet || state.blocksTotal == 0)
        return;
    if (drawer_) {
        if (newPercent)
            drawer_->show(liveLines());
        return;
    }
    if (!tenPercentStep(unit.lastTenth, state.percent))
        return;
    if (options_.json) {
        out() << "{\"type\":\"progress\",\"device\":" << jsonString(unit.path)
              << ",\"percent\":" << state.percent << ",\"blocks\":" << state.blocksWritten
              << ",\"of\":" << state.blocksTotal << ",\"secondsLeft\":" << state.secondsLeft
              << "}\n"
              << std::flush;
        return;
    }
    err() << utf8Lines(progressText(unit, unit.path)) << '\n' << std::flush;
}

// A question about one unit, one at a time, naming it; the others go on meanwhile and are
// drawn again once it is answered. An interrupt, or the end of input, declines.
bool Line::ask(LineUnit& unit, const Box& box) {
    auto question = [&] {
        err() << '\n'
              << utf8Lines(box.caption) << '\n'
              << utf8Lines(box.text) << '\n'
              << utf8Lines(unit.path + L"  " + unit.product + L"  " +
                           loadText(IDS_CLI_PROMPT_ANSWERS))
              << std::flush;
    };
    if (drawer_) {
        drawer_->hold(true);
        drawer_->print(question);
    } else {
        question();
    }
    if (!reader_)
        reader_ = std::make_unique<AnswerReader>(*setup_.in);
    reader_->request();
    std::string answer;
    bool answered = false;
    while (!(answered = reader_->take(answer)) && !setup_.interrupt->load())
        queue_.runNext(std::chrono::milliseconds(5));
    if (!answered)
        err() << '\n';
    if (drawer_) {
        drawer_->hold(false);
        drawer_->show(liveLines());
    }
    return answered && isYes(answer);
}

// A result on standard output, each line starting with the unit's node.
void Line::sayResult(const Result& r) {
    if (options_.json) {
        out() << "{\"type\":\"result\",\"device\":" << jsonString(r.path)
              << ",\"product\":" << jsonString(r.product) << ",\"result\":\"" << r.result
              << "\",\"text\":" << jsonString(r.text) << "}\n"
              << std::flush;
        return;
    }
    std::string text = utf8Lines(unitLine(r.path, r.product, resultWords(r))) + '\n';
    if (r.result[0] == 'f') {
        std::wstring rest = r.text + L"\r\n";
        for (std::size_t at; (at = rest.find(L"\r\n")) != std::wstring::npos; rest.erase(0, at + 2))
            if (at > 0)
                text += utf8Lines(r.path + L"  " + rest.substr(0, at)) + '\n';
    }
    if (drawer_)
        drawer_->print([&] { out() << text << std::flush; });
    else
        out() << text << std::flush;
}

void Line::record(LineUnit& unit, const char* result, const std::wstring& text) {
    unit.state = UnitState::Done;
    unit.session->release();
    results_.push_back({unit.path, unit.product, result, text});
    sayResult(results_.back());
    if (!options_.all)
        say(formatText(loadText(IDS_CLI_REMOVE_UNIT), {unit.path}));
}

void Line::finishEnded() {
    for (auto& entry : units_) {
        LineUnit& unit = *entry.second;
        if (unit.state != UnitState::Writing || unit.session->updateRunning())
            continue;
        if (unit.session->lastUpdateEnd() == UpdateEnd::Succeeded)
            record(unit, "updated", unit.session->view().hint);
        else
            record(unit, "failed", unit.failure);
    }
}

void Line::start(const ListedUnit& listed) {
    auto unit = std::make_unique<LineUnit>();
    LineUnit& u = *unit;
    u.path = listed.path;
    u.product = productLabel(listed.productId);
    u.frontEnd = std::make_unique<UnitFrontEnd>(*this, u);
    u.session = std::make_unique<Session>(*u.frontEnd);
    units_[listed.path] = std::move(unit);
    if (!listed.openable) {
        u.state = UnitState::Refused;
        say(formatText(loadText(listed.inUse ? IDS_CLI_IN_USE : IDS_CLI_NO_ACCESS), {u.path}));
        return;
    }
    u.session->connect(u.path);
    const ConnectionOutcome outcome = u.session->view().outcome;
    if (outcome != ConnectionOutcome::ReadyToUpdate) {
        u.session->release();
        const std::string name = outcomeRow(outcome).name;
        say(unitLine(u.path, u.product,
                     formatText(loadText(IDS_CLI_RESULT_NOT_READY),
                                {std::wstring(name.begin(), name.end())})));
        return;
    }
    u.order = ++started_;
    u.session->updatePressed();
    if (u.session->updateRunning()) {
        u.state = UnitState::Writing;
        if (drawer_)
            drawer_->show(liveLines());
        else
            say(unitLine(u.path, u.product, loadText(IDS_CLI_RESULT_WRITING)));
        return;
    }
    if (u.session->lastUpdateEnd() == UpdateEnd::Failed)
        record(u, "failed", u.failure);
    else if (u.session->declinedAt() == BoxId::ConfirmSameOrNewer)
        record(u, "skipped", loadText(IDS_CLI_SKIPPED_SAME_OR_NEWER));
    else
        record(u, "skipped", loadText(IDS_CLI_DECLINED));
}

// Looks at what is plugged in: units that went are forgotten (plugged in again, a unit is
// a new one), units not yet seen start, up to the limit. True when one started.
bool Line::poll() {
    std::vector<ListedUnit> listed;
    listUnits(listed);
    std::wstring seen;
    for (const ListedUnit& unit : listed)
        seen += unit.path + (unit.openable ? L"+" : L"-") + L"\n";
    // A unit not ready is asked again only when something was plugged in or out.
    const bool changed = seen != lastSeen_;
    lastSeen_ = seen;
    for (auto it = units_.begin(); it != units_.end();) {
        bool present = false;
        for (const ListedUnit& unit : listed)
            present = present || platformSamePath(unit.path, it->first);
        const UnitState state = it->second->state;
        const bool forget =
            state != UnitState::Writing && (!present || (changed && state != UnitState::Done));
        it = forget ? units_.erase(it) : std::next(it);
    }
    const std::size_t before = started_;
    for (const ListedUnit& unit : listed) {
        if (units_.count(unit.path) != 0)
            continue;
        if (countReached() ||
            (options_.parallelLimit > 0 && static_cast<long>(writing()) >= options_.parallelLimit))
            break;
        start(unit);
    }
    return started_ != before;
}

void Line::printTally(std::uint32_t updated, std::uint32_t failed, std::uint32_t skipped) {
    if (options_.json) {
        out() << "{\"type\":\"tally\",\"updated\":" << updated << ",\"failed\":" << failed
              << ",\"skipped\":" << skipped << ",\"units\":[";
        for (std::size_t i = 0; i < results_.size(); ++i) {
            const Result& r = results_[i];
            out() << (i > 0 ? "," : "") << "{\"device\":" << jsonString(r.path) << ",\"result\":\""
                  << r.result << "\",\"text\":" << jsonString(r.text) << "}";
        }
        out() << "]}\n" << std::flush;
        return;
    }
    out() << utf8Lines(formatText(loadText(IDS_CLI_TALLY), {updated, failed, skipped})) << '\n';
    for (const Result& r : results_) {
        out() << "  " << utf8Lines(unitLine(r.path, r.product, resultWords(r))) << '\n';
        // A failure's code line, its last line, names what went wrong.
        const std::size_t last = r.text.rfind(L"\r\n");
        if (r.result[0] == 'f' && last != std::wstring::npos)
            out() << "    " << utf8Lines(r.text.substr(last + 2)) << '\n';
    }
    out() << std::flush;
}

int Line::run() {
    const long limitMs = options_.waitSeconds < 0 ? -1 : options_.waitSeconds * 1000;
    long idleMs = 0;
    bool stopping = false;
    bool polledOnce = false;
    int ended = kExitOk;
    WaitDeadline nextPoll = platformDeadline(0);
    for (;;) {
        // One piece of work at a time, so that arrivals and interrupts are looked at
        // however busy the writers keep this thread.
        queue_.runNext(std::chrono::milliseconds(0));
        finishEnded();
        // Interrupts are refused while any write runs; no unit starts after one.
        if (setup_.interrupt->exchange(false)) {
            stopping = true;
            if (writing() > 0)
                say(loadText(IDS_CLI_INTERRUPT_REFUSED));
        }
        if (writing() > 0) {
            if (!stopping && !options_.all && platformDeadline(0) >= nextPoll) {
                poll();
                nextPoll = platformDeadline(kPollMs);
            }
            queue_.runNext(std::chrono::milliseconds(5));
            idleMs = 0;
            continue;
        }
        if (stopping) {
            ended = kExitInterrupted;
            break;
        }
        if (options_.count > 0 && static_cast<long>(results_.size()) >= options_.count)
            break;
        if (options_.all && polledOnce)
            break;
        const bool startedAny = poll();
        polledOnce = true;
        if (startedAny || options_.all) {
            idleMs = 0;
            continue;
        }
        if (limitMs >= 0 && idleMs >= limitMs) {
            ended = kExitNoUnit;
            break;
        }
        setup_.idle();
        idleMs += kPollMs;
    }
    drawer_.reset(); // the block goes before the tally
    std::uint32_t updated = 0, failed = 0, skipped = 0;
    for (const Result& r : results_) {
        updated += r.result[0] == 'u';
        failed += r.result[0] == 'f';
        skipped += r.result[0] == 's';
    }
    printTally(updated, failed, skipped);
    if (failed > 0)
        return kExitFailed;
    if (options_.all && results_.empty())
        return kExitNoUnit;
    return ended;
}

} // namespace

int parallelLine(const TerminalSetup& setup, const TerminalOptions& options) {
    if (!options.yes && !setup.interactive) {
        *setup.err << utf8Lines(formatText(loadText(IDS_CLI_USAGE_ERROR),
                                           {loadText(IDS_CLI_PARALLEL_NEEDS_YES)}))
                   << '\n'
                   << std::flush;
        return kExitUsage;
    }
    Line line(setup, options);
    return line.run();
}
