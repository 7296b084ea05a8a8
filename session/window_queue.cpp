#include "session/window_queue.h"

#include "session/window.h"
#include "session/session.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

std::mutex lock;
std::condition_variable changed;
std::deque<std::function<void()>> queued;
std::thread::id windowThread = std::this_thread::get_id();

} // namespace

void windowQueueBind() {
    std::lock_guard<std::mutex> guard(lock);
    windowThread = std::this_thread::get_id();
}

bool windowQueueRunNext(std::chrono::milliseconds wait) {
    std::function<void()> work;
    {
        std::unique_lock<std::mutex> held(lock);
        if (!changed.wait_for(held, wait, [] { return !queued.empty(); }))
            return false;
        work = std::move(queued.front());
        queued.pop_front();
    }
    work();
    return true;
}

void windowRun(const std::function<void()>& work) {
    std::unique_lock<std::mutex> held(lock);
    if (std::this_thread::get_id() == windowThread) {
        held.unlock();
        work();
        return;
    }
    bool ran = false;
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
