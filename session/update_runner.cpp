// The Update button. The confirmations are boxes on the window's thread; everything from
// the lock on runs where the session's UpdateWriter says: on a worker thread, so that the
// window keeps answering during the 46 s of an update, or on the window's thread itself (a
// browser's worker, whose waits yield to its event loop). The writer reaches the window
// only through this session's feedback, each operation of which runs on the window's
// thread by FrontEnd::run.
#include "session/session.h"

#include <algorithm>

void Session::updatePressed() {
    if (view_.updateRunning)
        return;
    // A press with no unit (a click racing a removal, a command sent to the window) says
    // that none is there; with one open, what the view offers, no more: never a second
    // write after a success.
    if (unitIsOpen(unit_) && !view_.updateEnabled)
        return;
    const Identification decided = identification(unit_);
    UpdatePlan plan;
    lastEnd_ = UpdateEnd::Declined; // until a report says otherwise
    if (!prepareUpdate(unit_, language_, feedback(), plan)) {
        updateStopped();
        return;
    }
    if (!stillWhatWasConfirmed(decided)) {
        updateStopped();
        return;
    }
    writing_ = true;
    view_.updateEnabled = false;
    show();
    if (writer_ == UpdateWriter::WindowThread) {
        writeUpdate(unit_, language_, feedback(), plan);
        frontEnd_.postUpdateEnded();
        return;
    }
    worker_ = std::thread([this, plan] {
        writeUpdate(unit_, language_, feedback(), plan);
        frontEnd_.postUpdateEnded();
    });
}

void Session::updateEnded() {
    if (worker_.joinable())
        worker_.join();
    writing_ = false;
    updateStopped();
    processHeld();
}

// Declined, failed before the lock, or written to its end.
void Session::updateStopped() {
    if (!view_.updateRunning)
        return;
    view_.updateRunning = false;
    show();
}

UpdateFeedback Session::feedback() {
    UpdateFeedback f;
    f.confirm = [this](Confirmation question, const std::wstring& caption,
                       const std::wstring& text) { return confirm(question, caption, text); };
    f.openProgress = [this] { return openProgress(); };
    f.setProgress = [this](FeedbackWindow progress, std::uint32_t total, std::uint32_t remaining) {
        const ProgressState state = progressState(total, remaining);
        frontEnd_.run([&] { frontEnd_.showProgress(progress, state); });
    };
    f.keepOnTop = [this](FeedbackWindow progress, FeedbackWindow& lastForeground) {
        keepOnTop(progress, lastForeground);
    };
    f.closeProgress = [this](FeedbackWindow progress) {
        frontEnd_.run([&] { frontEnd_.closeProgress(progress); });
    };
    f.reportFailure = [this](const std::wstring& text, const std::wstring& caption,
                             std::int32_t code, std::uint32_t lastError) {
        reportFailure(text, caption, code, lastError);
    };
    f.reportSuccess = [this] { reportSuccess(); };
    return f;
}

bool Session::confirm(Confirmation question, const std::wstring& caption,
                      const std::wstring& text) {
    const bool first = question == Confirmation::Update;
    const Box box{first ? BoxId::ConfirmUpdate : BoxId::ConfirmSameOrNewer, text, caption,
                  MessageIcon::Warning, first ? MessageButtons::OkCancel : MessageButtons::YesNo};
    bool accepted = false;
    frontEnd_.run([&] {
        accepted = frontEnd_.ask(box);
        if (!accepted)
            declinedAt_ = box.id;
        else if (!view_.updateRunning) {
            view_.updateRunning = true;
            show();
        }
    });
    return accepted;
}

FeedbackWindow Session::openProgress() {
    FeedbackWindow progress = nullptr;
    frontEnd_.run([&] {
        const WindowCorner corner = progressWindowCorner(frontEnd_.mainFrame());
        progress = frontEnd_.openProgress(loadText(language_, IDS_PROGRESS_TITLE), corner.x, corner.y,
                                          kProgressWidth, kProgressHeight);
        frontEnd_.showProgress(progress, ProgressState{});
        frontEnd_.raise(frontEnd_.mainWindow());
        frontEnd_.raise(progress);
    });
    return progress;
}

// Once per update at most: the first time, after a block, that one of the two windows is
// in front, both are brought to the top; never over another program's window.
void Session::keepOnTop(FeedbackWindow progress, FeedbackWindow& lastForeground) {
    if (lastForeground != nullptr)
        return; // only ever one of the two: done
    frontEnd_.run([&] {
        const FeedbackWindow main = frontEnd_.mainWindow();
        const FeedbackWindow front = frontEnd_.inFront();
        if (front == nullptr || (front != main && front != progress))
            return;
        lastForeground = front;
        frontEnd_.raise(main);
        frontEnd_.raise(progress);
        frontEnd_.show(main);
        frontEnd_.show(progress);
    });
}

void Session::reportSuccess() {
    frontEnd_.run([this] {
        lastEnd_ = UpdateEnd::Succeeded;
        shown_ = ConnectionOutcome::Updated;
        leaveReady(false);
        view_.hint = loadText(language_, IDS_HINT_UPDATE_DONE);
        show();
    });
}

void Session::reportFailure(const std::wstring& text, const std::wstring& caption,
                            std::int32_t code, std::uint32_t lastError) {
    frontEnd_.run([&] {
        lastEnd_ = UpdateEnd::Failed;
        leaveReady(true);
        std::wstring message = text;
        if (code != -1)
            message += L"\r\n" + formatText(loadText(language_, IDS_ERROR_CODE_LINE),
                                            {static_cast<std::uint32_t>(code), lastError});
        message.resize(std::min<std::size_t>(message.size(), kLongestText));
        okBox(BoxId::UpdateFailed, message, caption, MessageIcon::Error);
        view_.hint = loadText(language_, IDS_HINT_UPDATE_FAILED);
        show();
        processHeld();
    });
}
