// The console's cursor by the console's own calls: consoles without escape sequences too.
#include "terminal/live_lines.h"

#include <windows.h>

#include <ostream>

namespace {

HANDLE errorConsole() {
    return GetStdHandle(STD_ERROR_HANDLE);
}

} // namespace

void consoleLinesUp(std::ostream& err, std::size_t count) {
    err << std::flush;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(errorConsole(), &info))
        return;
    COORD to{0, static_cast<SHORT>(info.dwCursorPosition.Y - static_cast<SHORT>(count))};
    if (to.Y < 0)
        to.Y = 0;
    SetConsoleCursorPosition(errorConsole(), to);
}

void consoleClearBelow(std::ostream& err) {
    err << std::flush;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(errorConsole(), &info))
        return;
    const COORD from = info.dwCursorPosition;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * (info.dwSize.Y - from.Y) - from.X;
    DWORD written = 0;
    FillConsoleOutputCharacterW(errorConsole(), L' ', cells, from, &written);
    FillConsoleOutputAttribute(errorConsole(), info.wAttributes, cells, from, &written);
}

std::size_t consoleWidth() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(errorConsole(), &info))
        return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
    return 80;
}
