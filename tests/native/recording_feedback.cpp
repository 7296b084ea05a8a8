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

namespace {

FeedbackCall& record(RecordingFeedback& into, const std::string& what) {
    FeedbackCall call;
    call.what = what;
    call.at = simNow();
    into.calls.push_back(call);
    return into.calls.back();
}

} // namespace

std::wstring textId(unsigned id) {
    return L"#" + std::to_wstring(id);
}

std::wstring loadText(Language, unsigned id) {
    return textId(id);
}

Language interfaceLanguage() {
    return Language::English;
}

UpdateFeedback RecordingFeedback::bind() {
    UpdateFeedback f;
    f.confirm = [this](Confirmation question, const std::wstring& caption,
                       const std::wstring& text) {
        FeedbackCall& call = record(*this, "confirm");
        call.caption = caption;
        call.text = text;
        call.question = question;
        if (whileConfirming)
            whileConfirming();
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    };
    f.openProgress = [this] {
        record(*this, "open");
        return progressWindow;
    };
    f.setProgress = [this](FeedbackWindow, std::uint32_t total, std::uint32_t remaining) {
        FeedbackCall& call = record(*this, "progress");
        call.total = total;
        call.remaining = remaining;
        if (whileShowingProgress)
            whileShowingProgress();
    };
    f.keepOnTop = [this](FeedbackWindow, FeedbackWindow&) { record(*this, "keepOnTop"); };
    f.closeProgress = [this](FeedbackWindow) { record(*this, "close"); };
    f.reportFailure = [this](const std::wstring& text, const std::wstring& caption,
                             std::int32_t code, std::uint32_t lastError) {
        FeedbackCall& call = record(*this, "failure");
        call.text = text;
        call.caption = caption;
        call.code = code;
        call.lastError = lastError;
    };
    f.reportSuccess = [this] { record(*this, "success"); };
    return f;
}
