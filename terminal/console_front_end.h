// The session of a command on one unit drawn on a terminal: the view kept for printing,
// boxes as prompts on standard error answered on standard input (or by a flag), OK boxes
// kept as results, progress as a line. Its window thread is the run's own, a plain loop
// over a WorkQueue.
#pragma once

#include "session/progress_throttle.h"
#include "session/session.h"
#include "session/work_queue.h"
#include "terminal/answer_reader.h"
#include "terminal/terminal.h"

#include <memory>
#include <vector>

class ConsoleFrontEnd : public FrontEnd {
  public:
    ConsoleFrontEnd(const TerminalSetup& setup, const TerminalOptions& options);
    // The session whose update's end it delivers.
    void attach(Session& session) { session_ = &session; }

    // The OK boxes shown since the last call (reasons and results), oldest first.
    std::vector<Box> takeShown();
    // The text of the last failure box, with its code line.
    const std::wstring& lastFailure() const { return lastFailure_; }
    // Runs what the update's worker sent to this thread, waiting up to `wait` for it.
    bool runNext(std::chrono::milliseconds wait) { return queue_.runNext(wait); }

    void render(const SessionView&) override {}
    bool ask(const Box& box) override;
    void stopDeviceChanges() override {}
    void end(EndStatus) override {}
    FeedbackWindow openProgress(const std::wstring& title, int x, int y, int width,
                                int height) override;
    void showProgress(FeedbackWindow progress, const ProgressState& state) override;
    void closeProgress(FeedbackWindow progress) override;
    void run(const std::function<void()>& work) override { queue_.run(work); }
    void postUpdateEnded() override;

  private:
    bool readYes();

    const TerminalSetup& setup_;
    const TerminalOptions& options_;
    Session* session_ = nullptr;
    WorkQueue queue_;
    std::vector<Box> shown_;
    std::wstring lastFailure_;
    std::size_t lastLineLength_ = 0;
    ProgressThrottle throttle_;
    std::unique_ptr<AnswerReader> reader_;
};
