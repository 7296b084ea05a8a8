// The station screen on a terminal: frames drawn whole on a screen of their own, which
// gives the terminal back as it was at the end. Each system draws its way: escape
// sequences on Linux (terminal/linux), the console's own calls and a screen buffer of its
// own on Windows (terminal/win32).
#pragma once

#include "terminal/station_board.h"

#include <condition_variable>
#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ConsoleSize {
    std::size_t columns = 80, rows = 24;
};

// One terminal's screen while a line runs; `buffer` is the system's own (Windows).
struct ConsoleScreen {
    std::ostream* err = nullptr;
    bool colour = false;
    void* buffer = nullptr;
};

// Each system's part: the screen taken and given back, its size, and a frame drawn from
// its top, what it showed below cleared, the cursor left at the end of the frame's last
// line.
void consoleOpenScreen(ConsoleScreen& screen);
void consoleCloseScreen(ConsoleScreen& screen);
ConsoleSize consoleSize(const ConsoleScreen& screen);
void consoleDrawFrame(ConsoleScreen& screen, const std::vector<ScreenLine>& frame);

// Whether a terminal is given colour: not with NO_COLOR set to anything but empty, nor on
// a dumb one (TERM=dumb). Either may be null, as the environment lacks it.
bool showsColour(const char* noColor, const char* term);

// Frames drawn on a thread of its own, so that a slow console never holds the engine's
// thread, through which the writers' progress goes.
class ScreenDrawer {
  public:
    ScreenDrawer(std::ostream& err, bool colour);
    // The screen given back; what waited for it written.
    ~ScreenDrawer();
    ScreenDrawer(const ScreenDrawer&) = delete;
    ScreenDrawer& operator=(const ScreenDrawer&) = delete;

    ConsoleSize size() const { return consoleSize(screen_); }
    // The frame to show from now on, drawn soon.
    void show(std::vector<ScreenLine> frame);
    // The frame drawn at once, its last line a question whose answer the cursor waits for
    // at its end; nothing is drawn until release() brings the next frame.
    void hold(std::vector<ScreenLine> frame);
    void release(std::vector<ScreenLine> frame);
    // Text for the terminal once the screen is given back (a diagnostic, an error).
    void later(std::ostream& to, std::string text);

  private:
    struct Waiting {
        std::ostream* to;
        std::string text;
    };
    void draw();

    ConsoleScreen screen_;
    std::mutex output_; // held while the console is written
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<ScreenLine> frame_;
    std::vector<Waiting> waiting_;
    bool dirty_ = false, held_ = false, stop_ = false;
    std::thread thread_;
};
