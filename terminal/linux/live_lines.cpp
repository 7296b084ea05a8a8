// The terminal's cursor by ANSI escape sequences.
#include "terminal/live_lines.h"

#include <ostream>
#include <sys/ioctl.h>
#include <unistd.h>

void consoleLinesUp(std::ostream& err, std::size_t count) {
    err << "\x1b[" << count << 'F';
}

void consoleClearBelow(std::ostream& err) {
    err << "\x1b[J";
}

std::size_t consoleWidth() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}
