// One unit of a production line: its session, its front end, where it is and how it
// ended. Its front end answers boxes by the flags or hands a question to the line, and
// hands its progress to the line; its window thread is the line's.
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

enum class UnitState { NotReady, Refused, Writing, Done };

struct LineUnit {
    std::wstring path;
    std::wstring port; // the USB socket, empty where none is told
    std::wstring instance; // this plugging of it: another at the same path is a new unit
    std::wstring product;
    UnitState state = UnitState::NotReady;
    std::unique_ptr<FrontEnd> frontEnd;
    std::unique_ptr<Session> session;
    ProgressState progress{};
    ProgressThrottle written{kWrittenProgress}; // its lines to a pipe or as JSON
    std::wstring failure;        // the failure box's text, with its code line
    std::uint64_t order = 0;     // in which order the units started
    std::wstring versions[3];    // the unit's, bootloader's and controller's before
    std::chrono::steady_clock::time_point startedAt;
    WireTrace trace; // what its session's record reports to, with --trace
};

// What a unit's front end needs of its line, all on the line's thread.
struct LineLink {
    WorkQueue* queue = nullptr;
    const TerminalOptions* options = nullptr;
    bool personAtTerminal = false;
    std::function<bool(LineUnit&, const Box&)> ask; // a question for the person
    std::function<void(LineUnit&, const ProgressState&)> progress;
};

class UnitFrontEnd : public FrontEnd {
  public:
    UnitFrontEnd(const LineLink& line, LineUnit& unit) : line_(line), unit_(unit) {}
    void render(const SessionView&) override {}
    bool ask(const Box& box) override;
    void stopDeviceChanges() override {}
    void end(EndStatus) override {}
    FeedbackWindow openProgress(const std::wstring&, int, int, int, int) override { return &unit_; }
    void showProgress(FeedbackWindow, const ProgressState& state) override;
    void closeProgress(FeedbackWindow) override {}
    void run(const std::function<void()>& work) override { line_.queue->run(work); }
    void postUpdateEnded() override;

  private:
    const LineLink& line_;
    LineUnit& unit_;
};
