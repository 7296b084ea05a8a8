// Answers typed at a terminal, read one line at a time on a thread of their own, so that a
// production line's thread keeps running the writers' work while a question waits.
#pragma once

#include <condition_variable>
#include <istream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class AnswerReader {
  public:
    explicit AnswerReader(std::istream& in) : state_(std::make_shared<State>(in)) {}
    ~AnswerReader();
    AnswerReader(const AnswerReader&) = delete;
    AnswerReader& operator=(const AnswerReader&) = delete;

    // Starts reading the next line.
    void request();
    // The line once it came: true with it, or with the end of input as an empty line.
    bool take(std::string& answer);

  private:
    // Shared with the reading thread, which may outlive the reader in a read that no
    // one will answer.
    struct State {
        explicit State(std::istream& in) : in(in) {}
        std::istream& in;
        std::mutex lock;
        std::condition_variable changed;
        bool requested = false, ready = false, stop = false;
        std::string line;
    };
    static void read(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};
