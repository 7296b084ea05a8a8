#include "terminal/live_lines.h"

#include <ostream>

namespace {

void erase(LiveLines& block) {
    if (block.shown > 0)
        consoleLinesUp(*block.err, block.shown);
    consoleClearBelow(*block.err);
    block.shown = 0;
}

} // namespace

std::string firstColumns(const std::string& line, std::size_t columns) {
    std::size_t shown = 0;
    for (std::size_t at = 0; at < line.size(); ++at) {
        // A character starts at any byte that does not continue one.
        if ((static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 && shown++ == columns)
            return line.substr(0, at);
    }
    return line;
}

void liveLinesDraw(LiveLines& block, const std::vector<std::string>& lines) {
    erase(block);
    // A line that wraps would take two and leave its first behind at the next redraw.
    const std::size_t width = consoleWidth();
    for (const std::string& line : lines)
        *block.err << (width > 1 ? firstColumns(line, width - 1) : line) << '\n';
    block.shown = lines.size();
    *block.err << std::flush;
}

LiveDrawer::LiveDrawer(std::ostream& err) {
    block_.err = &err;
    thread_ = std::thread([this] { draw(); });
}

LiveDrawer::~LiveDrawer() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
        changed_.notify_all();
    }
    thread_.join();
    std::lock_guard<std::mutex> guard(output_);
    liveLinesDraw(block_, {});
    writeWaiting();
}

void LiveDrawer::show(std::vector<std::string> lines) {
    std::lock_guard<std::mutex> guard(lock_);
    lines_ = std::move(lines);
    dirty_ = true;
    changed_.notify_all();
}

void LiveDrawer::print(std::ostream& to, std::string text) {
    std::lock_guard<std::mutex> out(output_);
    std::lock_guard<std::mutex> guard(lock_);
    if (held_) {
        waiting_.push_back({&to, std::move(text)});
        return;
    }
    liveLinesDraw(block_, {});
    to << text << std::flush;
    liveLinesDraw(block_, lines_);
}

void LiveDrawer::question(std::string text) {
    std::lock_guard<std::mutex> out(output_);
    {
        std::lock_guard<std::mutex> guard(lock_);
        held_ = true;
    }
    liveLinesDraw(block_, {});
    *block_.err << text << std::flush;
}

void LiveDrawer::answered() {
    std::lock_guard<std::mutex> out(output_);
    std::lock_guard<std::mutex> guard(lock_);
    held_ = false;
    writeWaiting();
    liveLinesDraw(block_, lines_);
    dirty_ = false;
}

// With output_ held.
void LiveDrawer::writeWaiting() {
    for (const Waiting& w : waiting_)
        *w.to << w.text << std::flush;
    waiting_.clear();
}

void LiveDrawer::draw() {
    std::unique_lock<std::mutex> held(lock_);
    for (;;) {
        changed_.wait(held, [this] { return stop_ || (dirty_ && !held_); });
        if (stop_)
            return;
        held.unlock();
        {
            // In the order print() takes them; a question may have come meanwhile.
            std::lock_guard<std::mutex> out(output_);
            std::lock_guard<std::mutex> guard(lock_);
            if (!held_)
                liveLinesDraw(block_, lines_);
            dirty_ = false;
        }
        held.lock();
    }
}
