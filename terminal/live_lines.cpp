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

void liveLinesDraw(LiveLines& block, const std::vector<std::string>& lines) {
    erase(block);
    // A line that wraps would take two and leave its first behind at the next redraw.
    const std::size_t width = consoleWidth();
    for (const std::string& line : lines)
        *block.err << line.substr(0, width > 1 ? width - 1 : line.size()) << '\n';
    block.shown = lines.size();
    *block.err << std::flush;
}

void liveLinesSay(LiveLines& block, const std::string& line,
                  const std::vector<std::string>& lines) {
    erase(block);
    *block.err << line << '\n';
    liveLinesDraw(block, lines);
}
