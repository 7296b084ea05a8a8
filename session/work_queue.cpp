#include "session/work_queue.h"

bool WorkQueue::runNext(std::chrono::milliseconds wait) {
    std::function<void()> work;
    {
        std::unique_lock<std::mutex> held(lock_);
        if (!changed_.wait_for(held, wait, [this] { return !queued_.empty(); }))
            return false;
        work = std::move(queued_.front());
        queued_.pop_front();
    }
    work();
    return true;
}

void WorkQueue::run(const std::function<void()>& work) {
    if (std::this_thread::get_id() == windowThread_) {
        work();
        return;
    }
    std::unique_lock<std::mutex> held(lock_);
    bool ran = false;
    queued_.push_back([&] {
        work();
        std::lock_guard<std::mutex> guard(lock_);
        ran = true;
        changed_.notify_all();
    });
    changed_.notify_all();
    changed_.wait(held, [&] { return ran; });
}

void WorkQueue::post(std::function<void()> work) {
    std::lock_guard<std::mutex> guard(lock_);
    queued_.push_back(std::move(work));
    changed_.notify_all();
}
