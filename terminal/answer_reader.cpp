#include "terminal/answer_reader.h"

#include "resources/resource_ids.h"
#include "session/text_encoding.h"

std::string questionText(Language language, const Box& box, const std::wstring& unit) {
    const std::wstring answers = loadText(language, IDS_CLI_PROMPT_ANSWERS);
    return "\n" + utf8Lines(box.caption) + "\n" + utf8Lines(box.text) + "\n" +
           utf8Lines(unit.empty() ? answers : unit + L"  " + answers);
}

AnswerReader::~AnswerReader() {
    std::unique_lock<std::mutex> held(state_->lock);
    state_->stop = true;
    state_->changed.notify_all();
    const bool reading = state_->requested && !state_->ready;
    held.unlock();
    if (!thread_.joinable())
        return;
    // A read that no one will answer ends with the process.
    if (reading)
        thread_.detach();
    else
        thread_.join();
}

void AnswerReader::request() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->requested = true;
    state_->ready = false;
    if (!thread_.joinable())
        thread_ = std::thread(read, state_);
    state_->changed.notify_all();
}

bool AnswerReader::ended() const {
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->ended;
}

bool AnswerReader::pending() const {
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->requested;
}

bool AnswerReader::take(std::string& answer) {
    std::lock_guard<std::mutex> guard(state_->lock);
    if (!state_->ready)
        return false;
    answer = state_->line;
    state_->ready = state_->requested = false;
    return true;
}

void AnswerReader::read(const std::shared_ptr<State>& state) {
    for (;;) {
        {
            std::unique_lock<std::mutex> held(state->lock);
            state->changed.wait(held,
                                [&] { return state->stop || (state->requested && !state->ready); });
            if (state->stop)
                return;
        }
        const std::string line = nextLine(*state);
        std::lock_guard<std::mutex> guard(state->lock);
        state->line = line;
        state->ready = true;
    }
}

// Only this thread reads `in` and insideLongLine.
std::string AnswerReader::nextLine(State& state) {
    std::string line;
    std::size_t length = 0;
    for (char c; state.in.get(c);) {
        if (c == '\n') {
            const bool answer = !state.insideLongLine;
            state.insideLongLine = false;
            if (answer)
                return line;
            length = 0;
            continue;
        }
        if (++length > kLongestAnswer) {
            state.insideLongLine = true;
            return {};
        }
        if (!state.insideLongLine)
            line += c;
    }
    std::lock_guard<std::mutex> guard(state.lock);
    state.ended = true;
    return state.insideLongLine ? std::string() : line;
}
