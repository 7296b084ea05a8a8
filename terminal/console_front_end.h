// The session drawn on a terminal: the view kept for printing, boxes as prompts on
// standard error answered on standard input (or by a flag), OK boxes kept as results,
// progress as a line. Its window thread is the run's own, a plain loop over a WorkQueue.
#pragma once

#include "platform/platform.h"
#include "session/work_queue.h"
#include "terminal/terminal.h"

#include <vector>

class ConsoleFrontEnd : public FrontEnd {
  public:
    ConsoleFrontEnd(const TerminalSetup& setup, const TerminalOptions& options);
    // The session whose update's end it delivers.
    void attach(Session& session) { session_ = &session; }

    // The OK boxes shown since the last call (reasons and results), oldest first.
    std::vector<Box> takeShown();
    // Runs what the update's worker sent to this thread, waiting up to `wait` for it.
    bool runNext(std::chrono::milliseconds wait) { return queue_.runNext(wait); }

    void render(const SessionView&) override {}
    bool ask(const Box& box) override;
    void stopDeviceChanges() override {}
    void end(EndStatus) override {}
    WindowFrame mainFrame() override { return {0, 0, 0, 0}; }
    FeedbackWindow mainWindow() override { return nullptr; }
    FeedbackWindow inFront() override { return nullptr; }
    void raise(FeedbackWindow) override {}
    void show(FeedbackWindow) override {}
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
    std::uint32_t lastTenth_ = 0;
    std::size_t lastLineLength_ = 0;
    static constexpr std::uint32_t kRedrawMs = 100;
    WaitDeadline nextDraw_ = 0;
};
