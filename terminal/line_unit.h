// One unit of a run, a line's or the single update's: its session, its front end, where it
// is and how it ended. Its front end answers boxes by the flags or hands a question to the
// run, keeps the boxes it shows, and hands its progress to the run; its window thread is
// the run's.
#pragma once

#include "session/progress_throttle.h"
#include "session/session.h"
#include "session/work_queue.h"
#include "terminal/options.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class UnitState { NotReady, Refused, Writing, Done };

struct LineUnit {
    // Where it is shown: its socket, or its path where none is told.
    std::wstring socket() const { return port.empty() ? path : port; }

    std::wstring path;
    std::wstring port; // the USB socket, empty where none is told
    std::wstring instance; // this plugging of it: another at the same path is a new unit
    std::wstring product;
    UnitState state = UnitState::NotReady;
    bool removed = false; // unplugged, as the platform told
    std::unique_ptr<FrontEnd> frontEnd;
    std::unique_ptr<Session> session;
    ProgressState progress{};
    ProgressThrottle written{kWrittenProgress}; // its progress written down
    ProgressThrottle redrawn{kRedrawnProgress}; // its progress redrawn in place
    std::wstring failure;        // the failure box's text, with its code line
    std::vector<Box> shown;      // the OK boxes shown and not yet told
    std::wstring versions[3];    // the unit's, bootloader's and controller's before
    ImageFacts image;            // what is, or would be, written
    UnitIdentity identity;       // who it and its controller are, as pressed
    std::chrono::steady_clock::time_point startedAt;
    std::chrono::system_clock::time_point seenAt, startedWall, finishedWall;
    std::uint64_t seenUs = 0;    // on the platform's clock, for the cycle time
    std::wstring recordId;       // its line in the record, once finished
    bool repeat = false;         // its controller failed at this socket before, in this run
    WireTrace trace; // what its session's record reports to, with --trace
};

// What a unit's front end needs of its run, all on the run's thread.
struct LineLink {
    WorkQueue* queue = nullptr;
    const TerminalOptions* options = nullptr;
    bool personAtTerminal = false;
    // A question for the person; a question a flag or rule answered, told.
    std::function<bool(LineUnit&, const Box&)> ask;
    std::function<void(LineUnit&, const Box&, bool yes)> answeredByRule;
    std::function<void(LineUnit&)> progressOpened, progressClosed;
    std::function<void(LineUnit&, const ProgressState&)> progress;
};

class UnitFrontEnd : public FrontEnd {
  public:
    UnitFrontEnd(const LineLink& line, LineUnit& unit) : line_(line), unit_(unit) {}
    void render(const SessionView&) override {}
    bool ask(const Box& box) override;
    void stopDeviceChanges() override {}
    void end(EndStatus) override {}
    FeedbackWindow openProgress(const std::wstring&, int, int, int, int) override;
    void showProgress(FeedbackWindow, const ProgressState& state) override;
    void closeProgress(FeedbackWindow) override;
    void run(const std::function<void()>& work) override { line_.queue->run(work); }
    void postUpdateEnded() override;

  private:
    const LineLink& line_;
    LineUnit& unit_;
};
