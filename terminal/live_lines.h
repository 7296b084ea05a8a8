// The lines of the units being written, redrawn in place on a terminal below what was
// said before them. The cursor moves each system's way: escape sequences on Linux
// (terminal/linux), the console's own calls on Windows (terminal/win32).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct LiveLines {
    std::ostream* err = nullptr;
    std::size_t shown = 0; // lines drawn below the cursor's line
};

// The first `columns` characters of a UTF-8 line, never cutting one in two.
std::string firstColumns(const std::string& line, std::size_t columns);

// The block again with `lines`, in place of what it showed.
void liveLinesDraw(LiveLines& block, const std::vector<std::string>& lines);

// The block drawn on a thread of its own, so that a slow console never holds the caller's
// thread, through which the writers' progress goes. Everything else written to the
// console goes through print() or question(), between two drawings.
class LiveDrawer {
  public:
    explicit LiveDrawer(std::ostream& err);
    // The block erased; what waited for an answer written.
    ~LiveDrawer();
    LiveDrawer(const LiveDrawer&) = delete;
    LiveDrawer& operator=(const LiveDrawer&) = delete;

    // The lines to show from now on, drawn soon; the caller's progress throttle says how
    // often they change.
    void show(std::vector<std::string> lines);
    // `text` to `to` with the block erased, the block after it again. While a question
    // waits for its answer, the text waits too, so that nothing is written through it.
    void print(std::ostream& to, std::string text);
    // A question on the error stream below what was written, in place of the block, which
    // stays away until answered(): the cursor waits at its end for the answer.
    void question(std::string text);
    // The answer came: what waited is written, and the block follows it again.
    void answered();

  private:
    struct Waiting {
        std::ostream* to;
        std::string text;
    };
    void draw();
    void writeWaiting();

    LiveLines block_;
    std::mutex output_; // held while the console is written
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::vector<Waiting> waiting_;
    bool dirty_ = false, held_ = false, stop_ = false;
    std::thread thread_;
};

// Each system's part: the cursor to the start of the line `count` lines up, everything
// from the cursor to the end of the screen cleared, and the width of a line.
void consoleLinesUp(std::ostream& err, std::size_t count);
void consoleClearBelow(std::ostream& err);
std::size_t consoleWidth();
