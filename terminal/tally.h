// A line's tally: its units' results counted, and told at its end.
#pragma once

#include "terminal/terminal.h"
#include "terminal/unit_result.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <vector>

struct Tally {
    std::vector<Finished> units; // in the order they finished
    std::array<std::uint32_t, kUnitResults> count{};

    void add(const Finished& finished);
    std::uint32_t of(UnitResult result) const { return count[static_cast<int>(result)]; }
};

// The counts and each unit with its result and a failure's code line, in words or as one
// JSON line, and, where a record is kept, whether it was written whole, else why not.
void writeTally(std::ostream& out, Language language, bool json, const Tally& tally,
                bool recordKept, const std::wstring& recordProblem);
