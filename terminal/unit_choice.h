// Which unit a command takes, and what is plugged in as far as choosing one goes.
#pragma once

#include "resources/texts.h"
#include "terminal/options.h"
#include "unitlink/unit_list.h"

#include <functional>
#include <string>
#include <vector>

// What the terminal says: `say` a diagnostic (not with --quiet), `complain` an error.
struct Voice {
    Language language;
    std::function<void(const std::wstring&)> say, complain;
};

// What was plugged in, each unit with whether it may be opened or is in use: compared with
// the last look, it tells whether anything was plugged in or out.
std::wstring unitsSeen(const std::vector<ListedUnit>& units);
// The units on the ports --port names (all of them without it).
std::vector<ListedUnit> onChosenPorts(std::vector<ListedUnit> units, const TerminalOptions& options);
// A unit as lines and results name it: its USB port before its path, where it has one.
std::wstring unitName(const std::wstring& path, const std::wstring& port);

// The unit to take among `units`: true with `path` (empty: the first, as the window takes
// it), else false with the exit status. `oneOfSeveral`: the first of several will do
// (status), else several are a question for --device. `voice`: says why not, and for
// status which others there are; null says nothing.
bool chooseUnit(const std::vector<ListedUnit>& units, const TerminalOptions& options,
                bool oneOfSeveral, const Voice* voice, std::wstring& path, int& status);
