#include "tests/session/recording_window.h"

#include "sim/sim_unit.h"
#include "unitlink/unit_connection.h"

#include "session/window_queue.h"

RecordingWindow window;

namespace {

FeedbackWindow mainToken = &window;

} // namespace

void resetWindow() {
    pumpUntil([] { return !updateRunning(); });
    simReset();
    closeUnit(unitConnection);
    window = RecordingWindow{};
    windowQueueBind();
}

bool pumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        // Nothing queued and no update to queue more: nothing will change.
        if (!windowQueueRunNext(std::chrono::milliseconds(100)) && !updateRunning())
            return done();
    }
    return true;
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
