// A front end that records what its session asks of it: every view drawn, boxes answered
// from a script, the progress window's states. Its window thread is the test's own; the
// update's worker reaches it through pump().
#pragma once

#include "session/session.h"
#include "session/work_queue.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

using SeenBox = Box;

class RecordingWindow : public FrontEnd {
  public:
    // The last view, and its fields by the main dialog's control ids.
    SessionView view;
    std::vector<SessionView> views;
    std::wstring title;
    std::wstring hint;
    std::map<int, std::wstring> texts;
    std::map<int, bool> enabled;

    std::vector<SeenBox> boxes;
    std::deque<bool> answers; // empty: OK boxes answered OK, others declined
    std::function<void(const SeenBox&)> whileBoxOpen;
    bool deviceChangesStopped = false;
    int endedWith = -1; // the status of end(), -1 while the window runs
    WindowFrame frame{100, 100, 560, 500};
    std::vector<std::string> progressCalls; // "open", "show", "close"
    std::vector<ProgressState> progressStates;
    int progressX = 0, progressY = 0, progressWidth = 0, progressHeight = 0;
    std::wstring progressTitle;
    bool progressOpen = false;
    std::function<void(const ProgressState&)> whileShowingProgress;
    std::function<void(const SessionView&)> whileRendering;
    // The window in front, for the keep-on-top rule (by default the main one), and the
    // windows raised and shown, in order.
    FeedbackWindow front = this;
    std::vector<FeedbackWindow> raised, shown;

    // The session whose update's end it delivers.
    void attach(Session& session) { session_ = &session; }
    // Runs the work the worker sent to the window's thread until `done` holds; false when
    // the worker ended without it.
    bool pumpUntil(const std::function<bool()>& done);

    void render(const SessionView& view) override;
    bool ask(const Box& box) override;
    void stopDeviceChanges() override { deviceChangesStopped = true; }
    void end(EndStatus status) override { endedWith = status; }
    WindowFrame mainFrame() override { return frame; }
    FeedbackWindow mainWindow() override { return this; }
    FeedbackWindow inFront() override { return front; }
    void raise(FeedbackWindow window) override { raised.push_back(window); }
    void show(FeedbackWindow window) override { shown.push_back(window); }
    FeedbackWindow openProgress(const std::wstring& title, int x, int y, int width,
                                int height) override;
    void showProgress(FeedbackWindow progress, const ProgressState& state) override;
    void closeProgress(FeedbackWindow progress) override;
    void run(const std::function<void()>& work) override { queue_.run(work); }
    void postUpdateEnded() override;

  private:
    Session* session_ = nullptr;
    WorkQueue queue_;
};
