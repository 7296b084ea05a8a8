#include "terminal/screen_drawer.h"

#include <cstring>
#include <ostream>

bool showsColour(const char* noColor, const char* term) {
    if (noColor != nullptr && noColor[0] != '\0')
        return false;
    return term == nullptr || std::strcmp(term, "dumb") != 0;
}

ScreenDrawer::ScreenDrawer(std::ostream& err, bool colour) {
    screen_.err = &err;
    screen_.colour = colour;
    consoleOpenScreen(screen_);
    thread_ = std::thread([this] { draw(); });
}

ScreenDrawer::~ScreenDrawer() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
        changed_.notify_all();
    }
    thread_.join();
    std::lock_guard<std::mutex> guard(output_);
    if (dirty_ && !held_)
        consoleDrawFrame(screen_, frame_); // the last state, whatever the thread missed
    consoleCloseScreen(screen_);
    for (const Waiting& w : waiting_)
        *w.to << w.text << std::flush;
}

void ScreenDrawer::show(std::vector<ScreenLine> frame) {
    std::lock_guard<std::mutex> guard(lock_);
    frame_ = std::move(frame);
    dirty_ = true;
    changed_.notify_all();
}

void ScreenDrawer::hold(std::vector<ScreenLine> frame) {
    std::lock_guard<std::mutex> out(output_);
    {
        std::lock_guard<std::mutex> guard(lock_);
        held_ = true;
        frame_ = std::move(frame);
        dirty_ = false;
    }
    consoleDrawFrame(screen_, frame_);
}

void ScreenDrawer::release(std::vector<ScreenLine> frame) {
    std::lock_guard<std::mutex> out(output_);
    std::lock_guard<std::mutex> guard(lock_);
    held_ = false;
    frame_ = std::move(frame);
    dirty_ = false;
    consoleDrawFrame(screen_, frame_);
}

void ScreenDrawer::later(std::ostream& to, std::string text) {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.push_back({&to, std::move(text)});
}

void ScreenDrawer::draw() {
    std::unique_lock<std::mutex> held(lock_);
    for (;;) {
        changed_.wait(held, [this] { return stop_ || (dirty_ && !held_); });
        if (stop_)
            return;
        held.unlock();
        {
            // In the order hold() takes them; a question may have come meanwhile.
            std::lock_guard<std::mutex> out(output_);
            std::lock_guard<std::mutex> guard(lock_);
            if (!held_)
                consoleDrawFrame(screen_, frame_);
            dirty_ = false;
        }
        held.lock();
    }
}
