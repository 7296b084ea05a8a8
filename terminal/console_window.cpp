// The session's window operations on a terminal: controls and hint kept for printing,
// boxes as prompts on standard error answered on standard input, progress as a line.
#include "session/terminal.h"

#include <istream>
#include <ostream>

namespace {

FeedbackWindow progressToken = &terminal;
std::uint32_t lastTenth = 0;
std::size_t lastLineLength = 0;

std::ostream& err() {
    return *terminal.err;
}

bool quiet() {
    return terminal.options.quiet;
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// y, yes; in German also j, ja. Anything else, or the end of input, declines.
bool readYes() {
    std::string answer;
    if (!std::getline(*terminal.in, answer))
        return false;
    answer = lowered(answer);
    return answer == "y" || answer == "yes" ||
           (terminal.german && (answer == "j" || answer == "ja"));
}

} // namespace

void windowSetTitle(const std::wstring&) {}

void windowSetHint(const std::wstring& text) {
    terminal.hint = text;
}

std::wstring windowHint() {
    return terminal.hint;
}

void windowSetText(int control, const std::wstring& text) {
    terminal.controls[control] = text;
}

void windowEnable(int, bool) {}

bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const BoxAnswer rule = boxAnswer(buttons);
    if (rule == BoxAnswer::Show) {
        terminal.messages.push_back({text, caption, icon});
        return true;
    }
    const std::string question = "\n" + terminalLine(caption) + "\n" + terminalLine(text) + "\n" +
                                 terminalLine(terminalText(TerminalText::PromptAnswers));
    bool yes = rule == BoxAnswer::Yes;
    if (rule == BoxAnswer::Prompt) {
        err() << question << std::flush;
        yes = readYes();
        if (!terminal.in->good())
            err() << '\n';
    } else if (!quiet()) {
        err() << question << (yes ? "y" : "n") << '\n' << std::flush;
    }
    if (!yes && buttons == MessageButtons::YesNo)
        terminal.sameOrNewerDeclined = true;
    return yes;
}

void windowStopDeviceChanges() {}
void windowEnd(int) {}

WindowFrame windowMainFrame() {
    return {0, 0, 0, 0};
}
FeedbackWindow windowMain() {
    return nullptr;
}
FeedbackWindow windowInFront() {
    return nullptr;
}
void windowRaise(FeedbackWindow) {}
void windowShow(FeedbackWindow) {}

FeedbackWindow windowOpenProgress(const std::wstring&, int, int, int, int) {
    lastTenth = 0;
    lastLineLength = 0;
    if (!quiet())
        err() << terminalLine(terminalText(TerminalText::ProgressStart)) << '\n' << std::flush;
    return progressToken;
}

// On a terminal one line that rewrites itself; to a pipe or a log a line every 10 %.
void windowShowProgress(FeedbackWindow, const ProgressState& state) {
    if (quiet() || state.blocksTotal == 0)
        return;
    const std::string line = terminalLine(
        formatText(terminalText(TerminalText::Progress),
                   {state.percent, state.blocksWritten, state.blocksTotal, state.secondsLeft}));
    if (terminal.interactive) {
        // Blanks over what a longer line left; consoles without escape sequences too.
        const std::size_t pad = lastLineLength > line.size() ? lastLineLength - line.size() : 0;
        err() << '\r' << line << std::string(pad, ' ') << std::flush;
        lastLineLength = line.size();
        return;
    }
    if (state.percent / 10 == lastTenth && state.percent != 100)
        return;
    lastTenth = state.percent / 10;
    err() << line << '\n' << std::flush;
    if (state.percent == 100)
        lastTenth = 11; // said once
}

void windowCloseProgress(FeedbackWindow) {
    if (!quiet() && terminal.interactive)
        err() << '\n' << std::flush;
}
