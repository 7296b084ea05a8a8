// The station screen by ANSI escape sequences, on the terminal's alternate screen.
#include "terminal/screen_drawer.h"

#include <ostream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const char* colourCode(ScreenColour colour) {
    switch (colour) {
    case ScreenColour::Good:
        return "\x1b[1;32m";
    case ScreenColour::Bad:
        return "\x1b[1;31m";
    case ScreenColour::Busy:
        return "\x1b[1;33m";
    case ScreenColour::Plain:
        break;
    }
    return "";
}

} // namespace

void consoleOpenScreen(ConsoleScreen& screen) {
    *screen.err << "\x1b[?1049h\x1b[H\x1b[2J" << std::flush;
}

void consoleCloseScreen(ConsoleScreen& screen) {
    *screen.err << "\x1b[0m\x1b[?1049l" << std::flush;
}

ConsoleSize consoleSize(const ConsoleScreen&) {
    ConsoleSize size;
    winsize window{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_col > 0 && window.ws_row > 0) {
        size.columns = window.ws_col;
        size.rows = window.ws_row;
    }
    return size;
}

void consoleDrawFrame(ConsoleScreen& screen, const std::vector<ScreenLine>& frame) {
    std::string out = "\x1b[H";
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const bool coloured = screen.colour && frame[i].colour != ScreenColour::Plain;
        if (coloured)
            out += colourCode(frame[i].colour);
        out += frame[i].text;
        if (coloured)
            out += "\x1b[0m";
        out += "\x1b[K";
        if (i + 1 < frame.size())
            out += "\r\n";
    }
    out += "\x1b[J";
    *screen.err << out << std::flush;
}
