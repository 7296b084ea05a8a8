#include "tests/session/recording_window.h"

#include "resources/resource_ids.h"

bool RecordingWindow::pumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        // Nothing queued and no update to queue more: nothing will change.
        if (!queue_.runNext(std::chrono::milliseconds(100)) && !session_->updateRunning())
            return done();
    }
    return true;
}

void RecordingWindow::render(const SessionView& shown) {
    view = shown;
    views.push_back(shown);
    title = shown.title;
    hint = shown.hint;
    texts[IDC_UNIT_LABEL] = shown.unitLabel;
    texts[IDC_BOOTLOADER_LABEL] = shown.bootloaderLabel;
    texts[IDC_ESC_LABEL] = shown.escLabel;
    texts[IDC_UNIT_VERSION] = shown.unitVersion;
    texts[IDC_BOOTLOADER_VERSION] = shown.bootloaderVersion;
    texts[IDC_ESC_VERSION] = shown.escVersion;
    for (int control : {IDC_UNIT_LABEL, IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL, IDC_UNIT_VERSION,
                        IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION})
        enabled[control] = shown.versionsEnabled;
    enabled[IDC_UPDATE] = shown.updateEnabled;
    if (whileRendering)
        whileRendering(shown);
}

bool RecordingWindow::ask(const Box& box) {
    boxes.push_back(box);
    if (whileBoxOpen)
        whileBoxOpen(box);
    if (answers.empty())
        return box.buttons == MessageButtons::Ok;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

FeedbackWindow RecordingWindow::openProgress(const std::wstring& title, int x, int y, int width,
                                             int height) {
    progressCalls.push_back("open");
    progressTitle = title;
    progressX = x;
    progressY = y;
    progressWidth = width;
    progressHeight = height;
    progressOpen = true;
    return &progressStates;
}

void RecordingWindow::showProgress(FeedbackWindow, const ProgressState& state) {
    progressCalls.push_back("show");
    progressStates.push_back(state);
    if (whileShowingProgress)
        whileShowingProgress(state);
}

void RecordingWindow::closeProgress(FeedbackWindow) {
    progressCalls.push_back("close");
    progressOpen = false;
}

void RecordingWindow::postUpdateEnded() {
    queue_.post([this] { session_->updateEnded(); });
}
