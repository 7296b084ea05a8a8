// The terminal's window thread is the program's main thread, a plain loop over the
// session's work queue.
#include "session/terminal.h"
#include "session/window_queue.h"

#include <ostream>

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
        windowQueueRunNext(std::chrono::milliseconds(100));
    }
}
