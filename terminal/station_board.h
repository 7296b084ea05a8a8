// The station screen: what a production line on a terminal shows in place of a log, one
// frame redrawn whole. A row for each socket with its unit's state, the shift's counts,
// yield, pace and cycle time, the failures the operator has not yet acknowledged, and a
// question waiting for its answer. The board keeps the shift; stationScreen() draws one
// frame of it for a terminal of a given size.
#pragma once

#include "resources/texts.h"
#include "session/session_view.h"
#include "terminal/unit_result.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

enum class SocketState {
    Waiting,     // nothing plugged in, or the last unit taken out
    Identifying, // plugged in, being asked who it is
    Writing,
    Done,        // updated: to be unplugged
    Failed,      // to be put aside
    Skipped,     // its controller already current
    Changed,
    Declined,
    InUse,       // another program holds it
    NoAccess,
    NotReady,    // `detail` says why
};

struct SocketRow {
    std::wstring socket;
    SocketState state = SocketState::Waiting;
    ProgressState progress{};
    std::wstring detail; // a failure's code line; why a unit is not ready
    bool repeat = false; // its controller failed at this socket before
};

struct BoardFailure {
    std::wstring socket;
    std::chrono::system_clock::time_point at;
    std::wstring codeLine;
    bool repeat;
};

// How a line of the frame is marked, where the terminal shows colour.
enum class ScreenColour { Plain, Good, Bad, Busy };

struct ScreenLine {
    std::string text; // UTF-8, at most the frame's width
    ScreenColour colour = ScreenColour::Plain;
};

// How many unacknowledged failures the screen lists, the newest last.
constexpr std::size_t kShownFailures = 3;

class StationBoard {
  public:
    // The sockets of --port, in their order, are rows from the start; others are added as
    // units are seen there. `startMs` begins the shift, on the caller's clock.
    StationBoard(const std::vector<std::wstring>& ports, std::uint64_t startMs);

    SocketRow& row(const std::wstring& socket);
    // A unit finished at `socket`: counted, and a failure listed until acknowledged.
    void finished(const std::wstring& socket, UnitResult result, const std::wstring& codeLine,
                  bool repeat, std::chrono::system_clock::time_point at);
    // The socket's finished unit taken out after `cycleMs` from its plugging in; any other
    // taken out.
    void unplugged(const std::wstring& socket, std::uint64_t cycleMs);
    void emptied(const std::wstring& socket);
    // The operator has read the failures listed.
    void acknowledge() { failures_.clear(); }
    bool hasFailures() const { return !failures_.empty(); }

    const std::vector<SocketRow>& rows() const { return rows_; }
    const std::deque<BoardFailure>& failures() const { return failures_; }
    std::uint32_t count(UnitResult result) const { return counts_[static_cast<int>(result)]; }
    std::uint32_t finishedUnits() const;
    std::uint64_t startMs() const { return startMs_; }
    // The middle of the cycle times so far (the mean of the two in the middle); 0 before
    // the first.
    std::uint64_t medianCycleMs() const;

  private:
    std::vector<SocketRow> rows_;
    std::deque<BoardFailure> failures_;
    std::array<std::uint32_t, kUnitResults> counts_{};
    std::vector<std::uint64_t> cycles_;
    std::uint64_t startMs_;
};

// Updated of those written or failed, in tenths of a percent; -1 before the first.
int yieldPermille(std::uint32_t updated, std::uint32_t failed);
// Units finished in an hour at this pace, in tenths; 0 before a whole second passed.
std::uint64_t unitsPerHourTenths(std::uint32_t units, std::uint64_t elapsedMs);
// "0:07", "12:34", "1:02:03".
std::wstring durationText(std::uint64_t ms);
// "91.7 %" ("91,7 %" in German), "-" before the first; "38.2".
std::wstring yieldText(Language language, int permille);
std::wstring tenthsText(Language language, std::uint64_t tenths);
// The middle value (the mean of the two in the middle); 0 for none.
std::uint64_t medianOf(std::vector<std::uint64_t> values);

// One frame of `columns` by `rows` cells: the sockets' rows (as many as fit, the rest
// counted), the shift's two lines, the last diagnostic (`notice`), the failures to
// acknowledge, and `question` (lines joined with '\n', its last the prompt) at the bottom.
// No line is longer than the width less one, so that none wraps.
std::vector<ScreenLine> stationScreen(const StationBoard& board, Language language,
                                      std::uint64_t nowMs, std::size_t columns,
                                      std::size_t rows, const std::string& question,
                                      const std::wstring& notice = {});
