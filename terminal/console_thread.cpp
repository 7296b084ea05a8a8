// The terminal's window thread is the program's main thread: the update's worker hands it
// work through a queue and waits until it has run.
#include "session/terminal.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <thread>

namespace {

std::mutex lock;
std::condition_variable changed;
std::deque<std::function<void()>> queued;
const std::thread::id windowThread = std::this_thread::get_id();

} // namespace

void windowRun(const std::function<void()>& work) {
    if (std::this_thread::get_id() == windowThread) {
        work();
        return;
    }
    bool ran = false;
    std::unique_lock<std::mutex> held(lock);
    queued.push_back([&] {
        work();
        std::lock_guard<std::mutex> guard(lock);
        ran = true;
        changed.notify_all();
    });
    changed.notify_all();
    changed.wait(held, [&] { return ran; });
}

void windowPostUpdateEnded() {
    std::lock_guard<std::mutex> guard(lock);
    queued.push_back([] { finishUpdate(); });
    changed.notify_all();
}

// Interrupts are looked at between the worker's calls, at least ten times a second: during
// an update they are refused, as Close is in the window.
void terminalPumpUntilUpdateEnds() {
    while (updateRunning()) {
        if (terminalInterruptRequested.exchange(false)) {
            *terminal.err << '\n'
                          << terminalLine(terminalText(TerminalText::InterruptRefused)) << '\n'
                          << std::flush;
            terminal.stopAfterUpdate = true;
        }
        std::function<void()> work;
        {
            std::unique_lock<std::mutex> held(lock);
            if (!changed.wait_for(held, std::chrono::milliseconds(100),
                                  [] { return !queued.empty(); }))
                continue;
            work = std::move(queued.front());
            queued.pop_front();
        }
        work();
    }
}
