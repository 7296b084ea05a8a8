// The station screen by the console's own calls, on a screen buffer of its own that is
// made the active one, so that the console shows what it showed before once the line
// ends. Consoles without escape sequences too.
#include "terminal/screen_drawer.h"

#include <windows.h>

#include <ostream>

namespace {

HANDLE bufferOf(const ConsoleScreen& screen) {
    return screen.buffer != nullptr ? static_cast<HANDLE>(screen.buffer)
                                    : GetStdHandle(STD_ERROR_HANDLE);
}

WORD attributeOf(ScreenColour colour, WORD plain) {
    switch (colour) {
    case ScreenColour::Good:
        return FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    case ScreenColour::Bad:
        return FOREGROUND_RED | FOREGROUND_INTENSITY;
    case ScreenColour::Busy:
        return FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    case ScreenColour::Plain:
        break;
    }
    return plain;
}

std::wstring wideFromUtf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

// From `from` to the end of its row, or of the window's last row.
void clearFrom(HANDLE console, COORD from, SHORT columns, SHORT lastRow, WORD attribute) {
    const DWORD cells = static_cast<DWORD>(columns) * static_cast<DWORD>(lastRow - from.Y + 1) -
                        static_cast<DWORD>(from.X);
    DWORD written = 0;
    FillConsoleOutputCharacterW(console, L' ', cells, from, &written);
    FillConsoleOutputAttribute(console, attribute, cells, from, &written);
}

} // namespace

void consoleOpenScreen(ConsoleScreen& screen) {
    *screen.err << std::flush;
    HANDLE own = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (own == INVALID_HANDLE_VALUE)
        return; // drawn on the console's own buffer instead
    if (!SetConsoleActiveScreenBuffer(own)) {
        CloseHandle(own);
        return;
    }
    screen.buffer = own;
}

void consoleCloseScreen(ConsoleScreen& screen) {
    if (screen.buffer == nullptr)
        return;
    SetConsoleActiveScreenBuffer(GetStdHandle(STD_ERROR_HANDLE));
    CloseHandle(static_cast<HANDLE>(screen.buffer));
    screen.buffer = nullptr;
}

ConsoleSize consoleSize(const ConsoleScreen& screen) {
    ConsoleSize size;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(bufferOf(screen), &info)) {
        size.columns = static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
        size.rows = static_cast<std::size_t>(info.srWindow.Bottom - info.srWindow.Top + 1);
    }
    return size;
}

void consoleDrawFrame(ConsoleScreen& screen, const std::vector<ScreenLine>& frame) {
    *screen.err << std::flush;
    HANDLE console = bufferOf(screen);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(console, &info)) {
        // No console to place it on: the frame as lines, the cursor at the end of its last.
        for (std::size_t i = 0; i < frame.size(); ++i)
            *screen.err << frame[i].text << (i + 1 < frame.size() ? "\n" : "");
        *screen.err << std::flush;
        return;
    }
    const WORD plain = info.wAttributes;
    const SHORT top = info.srWindow.Top, columns = info.dwSize.X, lastRow = info.srWindow.Bottom;
    COORD at{0, top};
    for (std::size_t i = 0; i < frame.size() && at.Y <= lastRow; ++i, ++at.Y) {
        at.X = 0;
        SetConsoleCursorPosition(console, at);
        SetConsoleTextAttribute(console, screen.colour ? attributeOf(frame[i].colour, plain) : plain);
        const std::wstring text = wideFromUtf8(frame[i].text);
        DWORD written = 0;
        WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        SetConsoleTextAttribute(console, plain);
        CONSOLE_SCREEN_BUFFER_INFO after{};
        GetConsoleScreenBufferInfo(console, &after);
        clearFrom(console, after.dwCursorPosition, columns, after.dwCursorPosition.Y, plain);
        at.X = after.dwCursorPosition.X;
    }
    // The cursor waits at the end of the last line, where a question's answer is typed.
    const COORD end{at.X, static_cast<SHORT>(at.Y > top ? at.Y - 1 : top)};
    if (end.Y < lastRow)
        clearFrom(console, COORD{0, static_cast<SHORT>(end.Y + 1)}, columns, lastRow, plain);
    SetConsoleCursorPosition(console, end);
}
