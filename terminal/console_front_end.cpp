#include "terminal/console_front_end.h"

#include "resources/resource_ids.h"
#include "session/json.h"
#include "session/presentation.h"

#include <istream>
#include <ostream>

ConsoleFrontEnd::ConsoleFrontEnd(const TerminalSetup& setup, const TerminalOptions& options)
    : setup_(setup), options_(options) {}

std::vector<Box> ConsoleFrontEnd::takeShown() {
    std::vector<Box> shown;
    shown.swap(shown_);
    return shown;
}

// The end of input declines, and so does an interrupt.
bool ConsoleFrontEnd::readYes() {
    if (!reader_)
        reader_ = std::make_unique<AnswerReader>(*setup_.in);
    reader_->request();
    std::string answer;
    bool answered = false;
    while (!(answered = reader_->take(answer)) && !setup_.interrupt->load())
        queue_.runNext(std::chrono::milliseconds(5));
    const bool yes = answered && isYes(answer, setup_.language);
    if (!answered || reader_->ended())
        *setup_.err << '\n';
    return yes;
}

bool ConsoleFrontEnd::ask(const Box& box) {
    const BoxAnswer rule = boxAnswer(box.id, options_, setup_.personAtTerminal());
    if (rule == BoxAnswer::Show) {
        if (box.id == BoxId::UpdateFailed)
            lastFailure_ = box.text;
        shown_.push_back(box);
        return true;
    }
    std::ostream& err = *setup_.err;
    const std::string question = questionText(setup_.language, box, {});
    bool yes = rule == BoxAnswer::Yes;
    if (rule == BoxAnswer::Prompt) {
        err << question << std::flush;
        yes = readYes();
    } else if (!options_.quiet) {
        err << question << (yes ? "y" : "n") << '\n' << std::flush;
    }
    return yes;
}

FeedbackWindow ConsoleFrontEnd::openProgress(const std::wstring&, int, int, int, int) {
    throttle_ = ProgressThrottle(setup_.interactive ? kRedrawnProgress : kWrittenProgress);
    lastLineLength_ = 0;
    if (!options_.quiet)
        *setup_.err << utf8Lines(progressText(setup_.language, ProgressState{})) << '\n' << std::flush;
    return this;
}

// On a terminal one line that rewrites itself; to a pipe or a log a line every 10 %.
void ConsoleFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    if (options_.quiet || state.blocksTotal == 0 || !throttle_.due(state))
        return;
    std::ostream& err = *setup_.err;
    const std::string line = utf8Lines(progressText(setup_.language, state));
    if (setup_.interactive) {
        // Blanks over what a longer line left; consoles without escape sequences too.
        const std::size_t pad = lastLineLength_ > line.size() ? lastLineLength_ - line.size() : 0;
        err << '\r' << line << std::string(pad, ' ') << std::flush;
        lastLineLength_ = line.size();
        return;
    }
    err << line << '\n' << std::flush;
}

void ConsoleFrontEnd::closeProgress(FeedbackWindow) {
    if (!options_.quiet && setup_.interactive)
        *setup_.err << '\n' << std::flush;
}

void ConsoleFrontEnd::postUpdateEnded() {
    queue_.post([this] { session_->updateEnded(); });
}
