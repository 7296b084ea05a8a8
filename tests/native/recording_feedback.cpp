#include "tests/native/recording_feedback.h"

#include "sim/sim_unit.h"

RecordingFeedback feedback;

std::vector<FeedbackCall> RecordingFeedback::only(const std::string& what) const {
    std::vector<FeedbackCall> out;
    for (const FeedbackCall& call : calls)
        if (call.what == what)
            out.push_back(call);
    return out;
}

static FeedbackCall& record(const std::string& what) {
    FeedbackCall call;
    call.what = what;
    call.at = simNow();
    feedback.calls.push_back(call);
    return feedback.calls.back();
}

std::wstring textId(unsigned id) {
    return L"#" + std::to_wstring(id);
}

std::wstring loadText(unsigned id) {
    return textId(id);
}

bool confirmWarning(const std::wstring& caption, const std::wstring& text, ConfirmButtons buttons) {
    FeedbackCall& call = record("confirm");
    call.caption = caption;
    call.text = text;
    call.buttons = buttons;
    if (feedback.whileConfirming)
        feedback.whileConfirming();
    if (feedback.answers.empty())
        return false;
    bool answer = feedback.answers.front();
    feedback.answers.pop_front();
    return answer;
}

FeedbackWindow openProgress() {
    record("open");
    return feedback.progressWindow;
}

void setProgress(FeedbackWindow, std::uint32_t total, std::uint32_t remaining) {
    record("progress").percent = progressPercent(total, remaining);
    if (feedback.whileShowingProgress)
        feedback.whileShowingProgress();
}

void keepOnTop(FeedbackWindow, FeedbackWindow&) {
    record("keepOnTop");
}

void closeProgress(FeedbackWindow) {
    record("close");
}

void reportUpdateFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                         std::uint32_t lastError) {
    FeedbackCall& call = record("failure");
    call.text = text;
    call.caption = caption;
    call.code = code;
    call.lastError = lastError;
}

void reportUpdateSuccess() {
    record("success");
}
