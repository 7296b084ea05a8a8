// Questions on a terminal and the answers typed to them, read one line at a time on a
// thread of their own, so that the thread that asked keeps running the writers' work (a
// production line) and looking at interrupts while a question waits.
#pragma once

#include "resources/texts.h"
#include "session/front_end.h"

#include <condition_variable>
#include <cstddef>
#include <istream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// The longest answer read; a longer line is "no", and so is each further stretch of this
// length until it ends, so that endless input (cat /dev/zero) never grows the memory.
constexpr std::size_t kLongestAnswer = 256;

// A box as a question: its caption, its text and the answers it takes, after `unit` (the
// unit it is about, in a line; empty for a command on one unit).
std::string questionText(Language language, const Box& box, const std::wstring& unit);

class AnswerReader {
  public:
    explicit AnswerReader(std::istream& in) : state_(std::make_shared<State>(in)) {}
    ~AnswerReader();
    AnswerReader(const AnswerReader&) = delete;
    AnswerReader& operator=(const AnswerReader&) = delete;

    // Starts reading the next line.
    void request();
    // The line once it came: true with it, or with the end of input or a line too long as
    // an empty line.
    bool take(std::string& answer);
    // Whether input has ended.
    bool ended() const;
    // Whether a line was asked for and not yet taken.
    bool pending() const;

  private:
    // Shared with the reading thread, which may outlive the reader in a read that no
    // one will answer.
    struct State {
        explicit State(std::istream& in) : in(in) {}
        std::istream& in;
        mutable std::mutex lock;
        std::condition_variable changed;
        bool requested = false, ready = false, stop = false, ended = false;
        bool insideLongLine = false; // the rest of a line too long is no answer
        std::string line;
    };
    static void read(const std::shared_ptr<State>& state);
    static std::string nextLine(State& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};
