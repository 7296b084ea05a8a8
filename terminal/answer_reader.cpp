#include "terminal/answer_reader.h"

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
        std::string line;
        if (!std::getline(state->in, line))
            line.clear();
        std::lock_guard<std::mutex> guard(state->lock);
        state->line = line;
        state->ready = true;
    }
}
