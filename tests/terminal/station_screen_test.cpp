// The station screen: one frame per state of the shift, redrawn whole on a terminal of a
// given size; its figures from a scripted shift whose outcomes are known.
#include "platform/platform.h"
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "terminal/screen_drawer.h"
#include "terminal/station_board.h"
#include "terminal/terminal.h"
#include "tests/terminal/file_lines.h"
#include "tests/terminal/virtual_terminal.h"
#include "unitlink/unit_connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sstream>
#include <thread>

namespace {

using std::chrono::system_clock;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> texts(const std::vector<ScreenLine>& frame) {
    std::vector<std::string> lines;
    for (const ScreenLine& line : frame)
        lines.push_back(line.text);
    return lines;
}

// Standard error a terminal of 80 by 24.
TerminalSetup onATerminal(std::istream& in, std::ostream& out, std::ostream& err) {
    TerminalSetup setup;
    setup.in = &in;
    setup.out = &out;
    setup.err = &err;
    setup.interactive = true;
    setup.screenColumns = 80;
    setup.screenRows = 24;
    return setup;
}

class StationScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1); // failures are listed on the station's clock
        tzset();
    }
    // 06:14:02 on 2026-12-10, UTC.
    const system_clock::time_point at = system_clock::time_point(std::chrono::seconds(1796883242));
};

// Sixteen sockets of --port on 80 by 24: every row, the shift's two lines and the
// failures fit, nothing wraps; yield of those written or failed, pace over the shift, the
// median of the cycles.
TEST_F(StationScreen, SixteenSocketsHalfwayThroughAShift) {
    std::vector<std::wstring> ports;
    for (int i = 1; i <= 16; ++i)
        ports.push_back(L"1-2." + std::to_wstring(i));
    StationBoard board(ports, 1000);
    for (int i = 0; i < 9; ++i)
        board.finished(ports[0], UnitResult::Updated, L"", false, at);
    board.finished(ports[1], UnitResult::Skipped, L"", false, at);
    board.finished(ports[2], UnitResult::Failed, L"Code: 0x00000007-0x00000000", false, at);
    board.finished(ports[2], UnitResult::Failed, L"Code: 0x00000007-0x00000001", true, at);
    for (std::uint64_t cycle : {60000u, 75000u, 90000u, 300000u})
        board.unplugged(ports[4], cycle);
    SocketRow& writing = board.row(ports[5]);
    writing.state = SocketState::Writing;
    writing.progress = {42, 856, 2038, 27};
    SocketRow& failed = board.row(ports[2]);
    failed.state = SocketState::Failed;
    failed.detail = L"Code: 0x00000007-0x00000001";
    failed.repeat = true;
    board.row(ports[3]).state = SocketState::Done;
    board.row(ports[6]).state = SocketState::InUse;
    // 12 units in 20 minutes: 36 an hour.
    const std::vector<ScreenLine> frame =
        stationScreen(board, Language::English, 1000 + 20 * 60000, 80, 24, "");
    ASSERT_EQ(frame.size(), 21u);
    EXPECT_EQ(frame[0].text, "1-2.1   waiting");
    EXPECT_EQ(frame[2].text,
              "1-2.3   failed: put aside  Code: 0x00000007-0x00000001  (repeat)");
    EXPECT_EQ(frame[2].colour, ScreenColour::Bad);
    EXPECT_EQ(frame[3].text, "1-2.4   done: unplug");
    EXPECT_EQ(frame[3].colour, ScreenColour::Good);
    EXPECT_EQ(frame[5].text, "1-2.6   writing 42 %  27 s left");
    EXPECT_EQ(frame[5].colour, ScreenColour::Busy);
    EXPECT_EQ(frame[6].text, "1-2.7   in use");
    EXPECT_EQ(frame[15].text, "1-2.16  waiting");
    EXPECT_EQ(frame[16].text, "Updated 9  failed 2  skipped 1  declined 0  yield 81.8 %");
    EXPECT_EQ(frame[17].text, "36.0 units/h  median cycle 1:22  shift 20:00");
    EXPECT_EQ(frame[18].text, "Failures (Enter clears them):");
    EXPECT_EQ(frame[19].text, "1-2.3  06:14:02  Code: 0x00000007-0x00000000");
    EXPECT_EQ(frame[20].text, "1-2.3  06:14:02  Code: 0x00000007-0x00000001  (repeat)");

    const std::vector<ScreenLine> german =
        stationScreen(board, Language::German, 1000 + 20 * 60000, 80, 24, "");
    EXPECT_EQ(german[5].text, "1-2.6   schreibt 42 %  noch 27 s");
    EXPECT_EQ(german[16].text,
              "Aktualisiert 9  Fehler 2  übersprungen 1  abgelehnt 0  Ausbeute 81,8 %");
    EXPECT_EQ(german[17].text, "36,0 Einheiten/h  Median-Zyklus 1:22  Schicht 20:00");

    // Acknowledged, the failures go; the failed socket's row stays until it is unplugged.
    board.acknowledge();
    const std::vector<ScreenLine> after = stationScreen(board, Language::English, 1000, 80, 24, "");
    EXPECT_EQ(after.size(), 18u);
    EXPECT_TRUE(has(after[2].text, "failed: put aside"));
}

// A small terminal: the question and the shift's lines come first, then the failures and
// as many sockets as fit, the rest counted; long names and code lines are cut, not wrapped.
TEST_F(StationScreen, ASmallTerminalCutsRatherThanWraps) {
    std::vector<std::wstring> ports;
    for (int i = 1; i <= 16; ++i)
        ports.push_back(L"1-2.3.4.5.6.7." + std::to_wstring(i));
    StationBoard board(ports, 0);
    board.finished(ports[0], UnitResult::Failed,
                   L"The system shows following errorcode: 0x00000007-0x00000000 and more words",
                   false, at);
    const std::string question = "\nUpdate\nThe firmware will be written.\n1-2.1  DOCK-BOX  [y/N] ";
    const std::vector<ScreenLine> frame = stationScreen(board, Language::English, 0, 40, 12, question);
    const std::vector<std::string> lines = texts(frame);
    ASSERT_EQ(lines.size(), 11u);
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), 39u) << line;
    EXPECT_EQ(lines[0], "~3.4.5.6.7.1  waiting") << "a long socket keeps its end";
    EXPECT_EQ(lines[3], "... 13 more sockets");
    EXPECT_EQ(lines[6], "Failures (Enter clears them):");
    EXPECT_EQ(lines[7], "~3.4.5.6.7.1  06:14:02  ~and more words") << "a code line keeps its end";
    EXPECT_EQ(lines[8], "Update");
    EXPECT_EQ(lines[10], "1-2.1  DOCK-BOX  [y/N] ") << "the prompt last, where the cursor waits";

    // A failed row on 80 columns keeps its codes and its repeat mark.
    SocketRow& failed = board.row(ports[0]);
    failed.state = SocketState::Failed;
    failed.detail = L"The system shows following errorcode: 0x00000007-0x00000000";
    failed.repeat = true;
    EXPECT_EQ(stationScreen(board, Language::English, 0, 80, 24, "")[0].text,
              "~3.4.5.6.7.1  failed: put aside  ~ng errorcode: 0x00000007-0x00000000  (repeat)");
}

TEST(StationFigures, YieldPaceDurationsAndMedians) {
    EXPECT_EQ(yieldPermille(0, 0), -1);
    EXPECT_EQ(yieldText(Language::English, -1), L"-");
    EXPECT_EQ(yieldPermille(2, 1), 667);
    EXPECT_EQ(yieldPermille(0, 3), 0);
    EXPECT_EQ(unitsPerHourTenths(5, 999), 0u) << "no pace before a second";
    EXPECT_EQ(unitsPerHourTenths(1, 3600000), 10u);
    EXPECT_EQ(unitsPerHourTenths(1254, 3600000), 12540u);
    EXPECT_EQ(durationText(59999), L"0:59");
    EXPECT_EQ(durationText(3723000), L"1:02:03");
    EXPECT_EQ(medianOf({}), 0u);
    EXPECT_EQ(medianOf({9, 1, 5}), 5u);
    EXPECT_EQ(medianOf({4, 1, 3, 2}), 2u) << "the mean of the two in the middle, rounded down";
}

TEST(StationColour, NoColorOrADumbTerminalGiveTheSameViewWithoutColour) {
    EXPECT_TRUE(showsColour(nullptr, "xterm-256color"));
    EXPECT_TRUE(showsColour("", nullptr)) << "an empty NO_COLOR is not set";
    EXPECT_FALSE(showsColour("1", "xterm"));
    EXPECT_FALSE(showsColour(nullptr, "dumb"));
}

// While a question waits for its answer, nothing is drawn through it: not the next frame,
// not a diagnostic, which waits for the terminal to be given back.
TEST(ScreenDrawer, NothingIsDrawnThroughAQuestion) {
    std::ostringstream err, out;
    {
        ScreenDrawer drawer(err, false);
        drawer.show({{"1-2.1  writing 10 %  40 s left"}});
        drawer.hold({{"1-2.1  writing 10 %  40 s left"}, {"Sure?"}, {"1-2.2  DOCK-BOX  [y/N] "}});
        const std::string asked = err.str();
        drawer.show({{"1-2.1  writing 20 %  36 s left"}});
        drawer.later(out, "The station record could not be written\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(250)); // a drawing would be due
        EXPECT_EQ(err.str(), asked);
        const std::string end = "[y/N] \x1b[K\x1b[J";
        EXPECT_EQ(asked.compare(asked.size() - end.size(), end.size(), end), 0)
            << "the cursor waits at the question";
        drawer.release({{"1-2.1  writing 20 %  36 s left"}});
        EXPECT_NE(err.str().find("20 %", asked.size()), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_EQ(out.str(), "The station record could not be written\n");
}

// A scripted shift through the engine on a terminal of 80 by 24, with colour: three units
// (one written, one failing at its erase, one already current), all taken out; then the
// controller that failed comes back to its socket and is written, a repeat, and another
// fails in its blocks. Both failures stay listed: no one is at the keyboard. The record has
// every unit's line, each unplugging after its unit's line, and the repeat.
TEST(StationShift, AScriptedShiftOnTheScreenAndInTheRecord) {
    simReset();
    simSetFirmwareImage(standInImage());
    const std::string file = testing::TempDir() + "station-shift.jsonl";
    std::remove(file.c_str());
    auto plug = [](const wchar_t* path, const wchar_t* port, std::uint32_t serial,
                   std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.port = port;
        config.controllerSerial = serial;
        config.escFirmwareVersion = installed;
        return simAddUnit(path, config);
    };
    int idles = 0;
    std::vector<int> plugged;
    std::function<void()> onIdle = [&] {
        ++idles;
        if (idles == 1) {
            plugged = {plug(L"/dev/hidraw1", L"1-2.1", 0x101), plug(L"/dev/hidraw2", L"1-2.2", 0x102),
                       plug(L"/dev/hidraw3", L"1-2.3", 0x103, 0x0300)};
            simAddFault(plugged[1], {SimFaultKind::StatusError, ERASE, 1, 7});
        } else if (idles == 2) {
            for (int unit : plugged)
                simRemoveDevice(unit);
        } else if (idles == 3) {
            plug(L"/dev/hidraw4", L"1-2.2", 0x102);
            const int failing = plug(L"/dev/hidraw5", L"1-2.4", 0x104);
            simAddFault(failing, {SimFaultKind::StatusError, WRITE_BLOCK, 5, 9});
        }
    };
    std::istringstream in;
    std::ostringstream out, err;
    TerminalSetup setup = onATerminal(in, out, err);
    setup.outputIsTerminal = true;
    setup.colour = true;
    setup.idle = [&] {
        platformWait(kUnitPollMs);
        onIdle();
    };
    const int status = terminalMain({L"update", L"--each", L"--parallel", L"--yes", L"--count",
                                     L"5", L"--port", L"1-2.1", L"--port", L"1-2.2", L"--port",
                                     L"1-2.3", L"--port", L"1-2.4", L"--log",
                                     std::wstring(file.begin(), file.end())},
                                    setup);
    EXPECT_EQ(status, kExitFailed);

    VirtualTerminal terminal(80, 24);
    terminal.feed(err.str());
    EXPECT_FALSE(terminal.wrapped);
    const std::vector<std::string> screen = terminal.screen();
    ASSERT_GE(screen.size(), 8u) << err.str();
    EXPECT_EQ(screen[0], "1-2.1  waiting");
    EXPECT_EQ(screen[1], "1-2.2  done: unplug  (repeat)");
    EXPECT_EQ(screen[2], "1-2.3  waiting");
    EXPECT_EQ(screen[3], "1-2.4  failed: put aside  ~tem shows following errorcode: "
                         "0x00000009-0x00000000");
    EXPECT_EQ(screen[4], "Updated 2  failed 2  skipped 1  declined 0  yield 50.0 %");
    EXPECT_TRUE(has(screen[5], " units/h  median cycle ")) << screen[5];
    EXPECT_EQ(screen[6], "Failures (Enter clears them):");
    ASSERT_EQ(screen.size(), 9u);
    EXPECT_TRUE(has(screen[7], "1-2.2  ")) << screen[7];
    EXPECT_TRUE(has(screen[8], "1-2.4  ")) << screen[8];
    EXPECT_TRUE(has(err.str(), "\x1b[1;31m1-2.4  failed")) << "failed in red";
    EXPECT_TRUE(has(err.str(), "\x1b[1;32m1-2.2  done: unplug")) << "done in green";
    EXPECT_TRUE(has(err.str(), "\x1b[1;33m1-2.1  writing")) << "writing in yellow";
    EXPECT_TRUE(has(out.str(), "Updated: 2, failed: 2, skipped: 1, declined: 0, changed: 0\n"))
        << "the tally once the screen is gone";

    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 8u);
    std::vector<std::string> ids;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("\"id\":\"") + 6;
        const std::string id = line.substr(at, line.find('"', at) - at);
        if (has(line, "\"event\":\"unplugged\"")) {
            EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << "after its unit: " << line;
            continue;
        }
        ids.push_back(id);
        const bool back = has(line, "\"device\":\"/dev/hidraw4\"");
        EXPECT_EQ(has(line, "\"repeat\":true"), back) << line;
    }
    EXPECT_EQ(ids.size(), 5u);
    std::remove(file.c_str());
}

// What the operator typed. Its end, once the reader reaches it, tells that every line
// before it was taken: a line is read only once the last one was.
class Typed : public std::stringbuf {
  public:
    explicit Typed(const std::string& text) : std::stringbuf(text, std::ios::in) {}
    bool ended() const { return ended_; }

  protected:
    int_type underflow() override {
        const int_type c = std::stringbuf::underflow();
        if (traits_type::eq_int_type(c, traits_type::eof()))
            ended_ = true;
        return c;
    }

  private:
    std::atomic<bool> ended_{false};
};

// The operator at the keyboard presses Enter: the failures listed go, the failed socket's
// row stays. The end of input is no one at the keyboard: they stay.
TEST(StationShift, EnterAcknowledgesTheFailuresListed) {
    simReset();
    simSetFirmwareImage(standInImage());
    SimUnitConfig config;
    config.port = L"1-2.1";
    simAddFault(simAddUnit(L"/dev/hidraw1", config), {SimFaultKind::StatusError, ERASE, 1, 7});
    for (const char* text : {"", "\n"}) {
        Typed typed(text);
        std::istream in(&typed);
        std::ostringstream out, err;
        TerminalSetup setup = onATerminal(in, out, err);
        setup.inputIsTerminal = true;
        // Each wait gives the reader the time to hand over the line typed, which the next
        // turn takes. Without one, it ends as soon as the reader reached the end.
        setup.idle = [&typed] {
            platformWait(kUnitPollMs);
            for (int i = 0; i < 100 && !typed.ended(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        };
        EXPECT_EQ(terminalMain({L"update", L"--each", L"--yes", L"--count", L"2", L"--wait=2"},
                               setup),
                  kExitFailed);
        VirtualTerminal terminal(80, 24);
        terminal.feed(err.str());
        const std::vector<std::string> screen = terminal.screen();
        ASSERT_GE(screen.size(), 3u);
        EXPECT_TRUE(has(screen[0], "1-2.1  failed: put aside")) << screen[0];
        EXPECT_EQ(screen.size(), *text ? 3u : 5u) << text;
        simReset();
        simSetFirmwareImage(standInImage());
        simAddFault(simAddUnit(L"/dev/hidraw1", config), {SimFaultKind::StatusError, ERASE, 1, 7});
    }
}

} // namespace
