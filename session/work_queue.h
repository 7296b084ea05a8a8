// The window thread of a front end that is a plain loop (the terminal, the session's
// tests): work from other threads waits in this queue until that loop runs it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class WorkQueue {
  public:
    // The constructing thread is the window's thread.
    WorkQueue() = default;

    // From any thread: runs `work` on the window's thread, in place when called there,
    // and returns once it has run.
    void run(const std::function<void()>& work);
    // From any thread, without waiting.
    void post(std::function<void()> work);
    // On the window's thread: runs the next queued work, waiting up to `wait` for one;
    // false when none came.
    bool runNext(std::chrono::milliseconds wait);

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queued_;
    const std::thread::id windowThread_ = std::this_thread::get_id();
};
