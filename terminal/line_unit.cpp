#include "terminal/line_unit.h"

bool UnitFrontEnd::ask(const Box& box) {
    switch (boxAnswer(box.id, *line_.options, line_.personAtTerminal)) {
    case BoxAnswer::Yes:
        return true;
    case BoxAnswer::No:
        return false;
    case BoxAnswer::Prompt:
        return line_.ask(unit_, box);
    case BoxAnswer::Show:
        break;
    }
    if (box.id == BoxId::UpdateFailed)
        unit_.failure = box.text;
    return true;
}

void UnitFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    line_.progress(unit_, state);
}

void UnitFrontEnd::postUpdateEnded() {
    Session* session = unit_.session.get();
    line_.queue->post([session] { session->updateEnded(); });
}
