#include "terminal/station_board.h"

#include "resources/resource_ids.h"
#include "session/presentation.h"
#include "session/text_encoding.h"
#include "terminal/shown_text.h"

#include <algorithm>
#include <ctime>

namespace {

// The socket column: as wide as the widest socket, up to this; longer names keep their
// end, where sockets of one hub differ.
constexpr std::size_t kSocketColumn = 12;

// A text cut to `room` characters from its start, keeping its end: where sockets of one
// hub differ, and where a code line has its codes.
std::wstring keepEnd(const std::wstring& text, std::size_t room) {
    if (text.size() <= room)
        return text;
    return room < 2 ? std::wstring() : L"~" + text.substr(text.size() - room + 1);
}

std::wstring socketCell(const std::wstring& socket, std::size_t width) {
    const std::wstring cell = keepEnd(socket, width);
    return cell + std::wstring(width - cell.size(), L' ');
}

// `lead`, then as much of `detail`'s end as the width leaves, then `mark`.
std::wstring fitted(const std::wstring& lead, const std::wstring& detail, const std::wstring& mark,
                    std::size_t width) {
    const std::size_t used = lead.size() + mark.size();
    return lead + keepEnd(detail, width > used ? width - used : 0) + mark;
}

std::wstring stateText(Language language, const SocketRow& row) {
    const ProgressState& p = row.progress;
    switch (row.state) {
    case SocketState::Waiting:
        return loadText(language, IDS_CLI_SCREEN_WAITING);
    case SocketState::Identifying:
        return loadText(language, IDS_CLI_SCREEN_IDENTIFYING);
    case SocketState::Writing:
        if (p.blocksTotal == 0)
            return loadText(language, IDS_CLI_RESULT_WRITING);
        return formatText(loadText(language, IDS_CLI_SCREEN_WRITING), {p.percent, p.secondsLeft});
    case SocketState::Done:
        return loadText(language, IDS_CLI_SCREEN_DONE);
    case SocketState::Failed:
        return loadText(language, IDS_CLI_SCREEN_FAILED);
    case SocketState::Skipped:
        return loadText(language, IDS_CLI_SCREEN_SKIPPED);
    case SocketState::Changed:
        return loadText(language, IDS_CLI_RESULT_CHANGED);
    case SocketState::Declined:
        return loadText(language, IDS_CLI_SCREEN_DECLINED);
    case SocketState::InUse:
        return loadText(language, IDS_CLI_SCREEN_IN_USE);
    case SocketState::NoAccess:
        return loadText(language, IDS_CLI_SCREEN_NO_ACCESS);
    case SocketState::NotReady:
        return formatText(loadText(language, IDS_CLI_RESULT_NOT_READY), {row.detail});
    }
    return {};
}

ScreenColour colourOf(SocketState state) {
    switch (state) {
    case SocketState::Done:
        return ScreenColour::Good;
    case SocketState::Failed:
        return ScreenColour::Bad;
    case SocketState::Writing:
    case SocketState::Identifying:
        return ScreenColour::Busy;
    default:
        return ScreenColour::Plain;
    }
}

// "HH:MM:SS" of a moment on the station's clock, as the operator reads the time.
std::wstring clockText(std::chrono::system_clock::time_point at) {
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    const std::tm* local = std::localtime(&t); // the engine's thread alone draws
    if (local == nullptr)
        return L"--:--:--";
    wchar_t text[16];
    swprintf(text, 16, L"%02d:%02d:%02d", local->tm_hour, local->tm_min, local->tm_sec);
    return text;
}

} // namespace

StationBoard::StationBoard(const std::vector<std::wstring>& ports, std::uint64_t startMs)
    : startMs_(startMs) {
    for (const std::wstring& port : ports)
        row(port);
}

SocketRow& StationBoard::row(const std::wstring& socket) {
    for (SocketRow& row : rows_)
        if (row.socket == socket)
            return row;
    rows_.emplace_back();
    rows_.back().socket = socket;
    return rows_.back();
}

void StationBoard::finished(const std::wstring& socket, UnitResult result,
                            const std::wstring& codeLine, bool repeat,
                            std::chrono::system_clock::time_point at) {
    ++counts_[static_cast<int>(result)];
    if (result != UnitResult::Failed)
        return;
    failures_.push_back({socket, at, codeLine, repeat});
    while (failures_.size() > kShownFailures)
        failures_.pop_front();
}

void StationBoard::unplugged(const std::wstring& socket, std::uint64_t cycleMs) {
    cycles_.push_back(cycleMs);
    emptied(socket);
}

void StationBoard::emptied(const std::wstring& socket) {
    SocketRow& r = row(socket);
    r = SocketRow{};
    r.socket = socket;
}

std::uint32_t StationBoard::finishedUnits() const {
    std::uint32_t all = 0;
    for (std::uint32_t n : counts_)
        all += n;
    return all;
}

std::uint64_t StationBoard::medianCycleMs() const {
    return medianOf(cycles_);
}

std::uint64_t medianOf(std::vector<std::uint64_t> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int yieldPermille(std::uint32_t updated, std::uint32_t failed) {
    const std::uint64_t tried = std::uint64_t{updated} + failed;
    if (tried == 0)
        return -1;
    return static_cast<int>((std::uint64_t{updated} * 1000 + tried / 2) / tried);
}

std::uint64_t unitsPerHourTenths(std::uint32_t units, std::uint64_t elapsedMs) {
    if (elapsedMs < 1000)
        return 0;
    return (std::uint64_t{units} * 36000000 + elapsedMs / 2) / elapsedMs;
}

std::wstring durationText(std::uint64_t ms) {
    const std::uint64_t seconds = ms / 1000;
    wchar_t text[32];
    if (seconds >= 3600)
        swprintf(text, 32, L"%llu:%02u:%02u", static_cast<unsigned long long>(seconds / 3600),
                 static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    else
        swprintf(text, 32, L"%u:%02u", static_cast<unsigned>(seconds / 60),
                 static_cast<unsigned>(seconds % 60));
    return text;
}

std::wstring tenthsText(Language language, std::uint64_t tenths) {
    return std::to_wstring(tenths / 10) + (language == Language::German ? L"," : L".") +
           std::to_wstring(tenths % 10);
}

std::wstring yieldText(Language language, int permille) {
    return permille < 0 ? L"-" : tenthsText(language, static_cast<std::uint64_t>(permille)) + L" %";
}

std::vector<ScreenLine> stationScreen(const StationBoard& board, Language language,
                                      std::uint64_t nowMs, std::size_t columns,
                                      std::size_t rows, const std::string& question,
                                      const std::wstring& notice) {
    const std::size_t width = columns > 1 ? columns - 1 : 1;
    auto line = [&](const std::wstring& text, ScreenColour colour = ScreenColour::Plain) {
        return ScreenLine{firstColumns(utf8Lines(shownSafely(text)), width), colour};
    };
    std::vector<ScreenLine> tail;
    const std::uint32_t updated = board.count(UnitResult::Updated);
    const std::uint32_t failed = board.count(UnitResult::Failed);
    tail.push_back(line(formatText(loadText(language, IDS_CLI_SCREEN_COUNTS),
                                   {updated, failed, board.count(UnitResult::Skipped),
                                    board.count(UnitResult::Declined),
                                    yieldText(language, yieldPermille(updated, failed))})));
    const std::uint64_t elapsed = nowMs > board.startMs() ? nowMs - board.startMs() : 0;
    const std::uint64_t median = board.medianCycleMs();
    tail.push_back(line(formatText(
        loadText(language, IDS_CLI_SCREEN_PACE),
        {tenthsText(language, unitsPerHourTenths(board.finishedUnits(), elapsed)),
         median == 0 ? std::wstring(L"-") : durationText(median), durationText(elapsed)})));
    if (!notice.empty()) {
        std::wstring first = notice.substr(0, notice.find(L"\r\n"));
        tail.push_back(line(first));
    }
    std::vector<ScreenLine> asked;
    if (!question.empty()) {
        std::string rest = question;
        // A question's leading blank line is room the frame already has.
        if (rest.front() == '\n')
            rest.erase(0, 1);
        for (std::size_t at; (at = rest.find('\n')) != std::string::npos; rest.erase(0, at + 1))
            asked.push_back({firstColumns(rest.substr(0, at), width)});
        asked.push_back({firstColumns(rest, width)});
    }
    const std::wstring repeat = L"  " + loadText(language, IDS_CLI_SCREEN_REPEAT);
    std::vector<ScreenLine> failures;
    if (board.hasFailures()) {
        failures.push_back(line(loadText(language, IDS_CLI_SCREEN_FAILURES), ScreenColour::Bad));
        for (const BoardFailure& f : board.failures()) {
            const std::wstring lead = keepEnd(f.socket, kSocketColumn) + L"  " + clockText(f.at) + L"  ";
            failures.push_back(line(fitted(lead, f.codeLine, f.repeat ? repeat : std::wstring(), width),
                                    ScreenColour::Bad));
        }
    }
    // The last row stays free for the cursor; the question and the shift's lines come
    // first, then as many failures and sockets as fit.
    const std::size_t usable = rows > 1 ? rows - 1 : 1;
    std::size_t left = usable > tail.size() + asked.size() ? usable - tail.size() - asked.size() : 0;
    const std::vector<SocketRow>& sockets = board.rows();
    const std::size_t keepRows = std::min(sockets.size(), left > 2 ? left - 2 : left);
    if (failures.size() > left - keepRows)
        failures.resize(left - keepRows);
    left -= failures.size();

    std::size_t column = 0;
    for (const SocketRow& r : sockets)
        column = std::max(column, std::min(r.socket.size(), kSocketColumn));
    std::vector<ScreenLine> frame;
    const std::size_t shown = sockets.size() <= left ? sockets.size() : (left > 0 ? left - 1 : 0);
    for (std::size_t i = 0; i < shown; ++i) {
        const SocketRow& r = sockets[i];
        std::wstring lead = socketCell(r.socket, column) + L"  " + stateText(language, r);
        const std::wstring detail = r.state == SocketState::Failed ? r.detail : std::wstring();
        if (!detail.empty())
            lead += L"  ";
        frame.push_back(line(fitted(lead, detail, r.repeat ? repeat : std::wstring(), width),
                             colourOf(r.state)));
    }
    if (shown < sockets.size() && left > 0)
        frame.push_back(line(formatText(loadText(language, IDS_CLI_SCREEN_MORE),
                                        {static_cast<std::uint32_t>(sockets.size() - shown)})));
    frame.insert(frame.end(), tail.begin(), tail.end());
    frame.insert(frame.end(), failures.begin(), failures.end());
    frame.insert(frame.end(), asked.begin(), asked.end());
    if (frame.size() > usable)
        frame.erase(frame.begin(), frame.begin() + static_cast<long>(frame.size() - usable));
    return frame;
}
