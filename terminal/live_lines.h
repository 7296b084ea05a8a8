// The lines of the units being written, redrawn in place on a terminal below what was
// said before them. The cursor moves each system's way: escape sequences on Linux
// (terminal/linux), the console's own calls on Windows (terminal/win32).
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

struct LiveLines {
    std::ostream* err = nullptr;
    std::size_t shown = 0; // lines drawn below the cursor's line
};

// The block again with `lines`, in place of what it showed.
void liveLinesDraw(LiveLines& block, const std::vector<std::string>& lines);
// `line` for good above the block, which follows it again.
void liveLinesSay(LiveLines& block, const std::string& line, const std::vector<std::string>& lines);

// Each system's part: the cursor to the start of the line `count` lines up, everything
// from the cursor to the end of the screen cleared, and the width of a line.
void consoleLinesUp(std::ostream& err, std::size_t count);
void consoleClearBelow(std::ostream& err);
std::size_t consoleWidth();
