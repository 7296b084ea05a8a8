#include "terminal/line_unit.h"

bool UnitFrontEnd::ask(const Box& box) {
    const BoxAnswer rule = boxAnswer(box.id, *line_.options, line_.personAtTerminal);
    switch (rule) {
    case BoxAnswer::Yes:
    case BoxAnswer::No:
        if (line_.answeredByRule)
            line_.answeredByRule(unit_, box, rule == BoxAnswer::Yes);
        return rule == BoxAnswer::Yes;
    case BoxAnswer::Prompt:
        return line_.ask(unit_, box);
    case BoxAnswer::Show:
        break;
    }
    if (box.id == BoxId::UpdateFailed)
        unit_.failure = box.text;
    unit_.shown.push_back(box);
    return true;
}

FeedbackWindow UnitFrontEnd::openProgress(const std::wstring&, int, int, int, int) {
    if (line_.progressOpened)
        line_.progressOpened(unit_);
    return &unit_;
}

void UnitFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    line_.progress(unit_, state);
}

void UnitFrontEnd::closeProgress(FeedbackWindow) {
    if (line_.progressClosed)
        line_.progressClosed(unit_);
}

void UnitFrontEnd::postUpdateEnded() {
    Session* session = unit_.session.get();
    line_.queue->post([session] { session->updateEnded(); });
}
