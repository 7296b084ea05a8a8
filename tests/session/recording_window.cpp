#include "tests/session/recording_window.h"

#include "sim/sim_unit.h"
#include "unitlink/unit_connection.h"

#include <condition_variable>
#include <mutex>
#include <thread>

RecordingWindow window;

namespace {

std::mutex lock;
std::condition_variable changed;
std::deque<std::function<void()>> queued;
std::thread::id windowThread;

FeedbackWindow mainToken = &window;

} // namespace

void resetWindow() {
    pumpUntil([] { return !updateRunning(); });
    simReset();
    closeUnit(unitConnection);
    window = RecordingWindow{};
    windowThread = std::this_thread::get_id();
}

bool pumpUntil(const std::function<bool()>& done) {
    for (;;) {
        if (done())
            return true;
        std::function<void()> work;
        {
            std::unique_lock<std::mutex> held(lock);
            // Nothing queued and no update to queue more: nothing will change.
            if (queued.empty() && !updateRunning())
                return done();
            changed.wait(held, [] { return !queued.empty(); });
            work = std::move(queued.front());
            queued.pop_front();
        }
        work();
    }
}

void windowSetTitle(const std::wstring& title) {
    window.title = title;
}
void windowSetHint(const std::wstring& text) {
    window.hint = text;
}
std::wstring windowHint() {
    return window.hint;
}
void windowSetText(int control, const std::wstring& text) {
    window.texts[control] = text;
}
void windowEnable(int control, bool enabled) {
    window.enabled[control] = enabled;
}

bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const SeenBox seen{text, caption, icon, buttons};
    window.boxes.push_back(seen);
    if (window.whileBoxOpen)
        window.whileBoxOpen(seen);
    if (window.answers.empty())
        return buttons == MessageButtons::Ok;
    const bool answer = window.answers.front();
    window.answers.pop_front();
    return answer;
}

void windowStopDeviceChanges() {
    window.deviceChangesStopped = true;
}
void windowEnd(int status) {
    window.endedWith = status;
}
WindowFrame windowMainFrame() {
    return window.frame;
}
FeedbackWindow windowMain() {
    return mainToken;
}
FeedbackWindow windowInFront() {
    return mainToken;
}
void windowRaise(FeedbackWindow) {}
void windowShow(FeedbackWindow) {}

FeedbackWindow windowOpenProgress(const std::wstring& title, int x, int y, int width, int height) {
    window.progressCalls.push_back("open");
    window.progressTitle = title;
    window.progressX = x;
    window.progressY = y;
    window.progressWidth = width;
    window.progressHeight = height;
    window.progressOpen = true;
    return &window.progressStates;
}
void windowShowProgress(FeedbackWindow, const ProgressState& state) {
    window.progressCalls.push_back("show");
    window.progressStates.push_back(state);
}
void windowCloseProgress(FeedbackWindow) {
    window.progressCalls.push_back("close");
    window.progressOpen = false;
}

void windowRun(const std::function<void()>& work) {
    if (std::this_thread::get_id() == windowThread) {
        work();
        return;
    }
    bool ran = false;
    std::unique_lock<std::mutex> held(lock);
    queued.push_back([&] {
        work();
        std::lock_guard<std::mutex> guard(lock);
        ran = true;
        changed.notify_all();
    });
    changed.notify_all();
    changed.wait(held, [&] { return ran; });
}

void windowPostUpdateEnded() {
    std::lock_guard<std::mutex> guard(lock);
    queued.push_back([] { finishUpdate(); });
    changed.notify_all();
}
