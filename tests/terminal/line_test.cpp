// The production line in-process against several simulated units on the virtual clock:
// one unit at a time or several at once, each unit's requests exact and its own, every
// result in the tally, questions, interrupts.
#include "resources/generate/firmware_pattern.h"
#include "resources/texts.h"
#include "resources/resource_ids.h"
#include "platform/platform.h"
#include "sim/sim_unit.h"
#include "terminal/terminal.h"
#include "tests/terminal/hooked_input.h"
#include "unitlink/unit_connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

// Standard output that calls `onLine` with each whole line as the program writes it.
class WatchedOutput : public std::stringbuf {
  public:
    std::function<void(const std::string&)> onLine;

  protected:
    int sync() override {
        const std::string all = str();
        std::size_t end;
        while ((end = all.find('\n', seen_)) != std::string::npos) {
            if (onLine)
                onLine(all.substr(seen_, end - seen_));
            seen_ = end + 1;
        }
        return 0;
    }

  private:
    std::size_t seen_ = 0;
};

struct Ran {
    int status;
    std::string out, err;
};

class ParallelLine : public ::testing::Test {
  protected:
    void SetUp() override {
        simReset();
        image = standInImage();
        simSetFirmwareImage(image);
    }
    Ran run(const std::vector<std::wstring>& args, const std::string& input = "",
            bool interactive = false) {
        std::istringstream typed(input);
        std::istream hooked(answerAfter);
        std::istream& in = answerAfter != nullptr ? hooked : typed;
        std::ostream out(&watched);
        std::ostringstream err;
        TerminalSetup setup;
        setup.in = &in;
        setup.out = &out;
        setup.err = &err;
        setup.interrupt = &interrupt;
        setup.interactive = interactive;
        setup.inputIsTerminal = interactive && inputIsTerminal;
        setup.idle = [this] {
            ++polls;
            platformWait(kUnitPollMs); // on the simulated clock
            if (onIdle)
                onIdle();
        };
        if (toldOfChanges)
            setup.nextChange = [this](HotPlugEvent& event) {
                if (told.empty())
                    return false;
                event = told.front();
                told.pop_front();
                return true;
            };
        const int status = terminalMain(args, setup);
        EXPECT_EQ(simOpenHandles(), 0u) << "every unit closed";
        return {status, watched.str(), err.str()};
    }
    std::streambuf* answerAfter = nullptr; // standard input instead of `input`
    static int plug(const wchar_t* path, std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.escFirmwareVersion = installed;
        return simAddUnit(path, config);
    }
    static std::vector<std::vector<std::uint8_t>> requestsOf(int device) {
        std::vector<std::vector<std::uint8_t>> requests;
        for (const SimExchange& e : simTranscript())
            if (e.device == device)
                requests.push_back(e.request);
        return requests;
    }
    // Identification, the same again after the confirmations, lock, protection off,
    // erase, address, every block, protection on, release: the whole update, in order,
    // with this image.
    void expectWholeUpdate(int device) {
        const auto r = requestsOf(device);
        ASSERT_EQ(r.size(), 3u + 3u + 4u + 2038u + 2u) << device;
        EXPECT_EQ(r[6][1], SYSTEM_LOCK);
        EXPECT_EQ(r[8][1], ERASE);
        for (std::size_t block = 0; block < 2038; ++block) {
            const std::size_t bytes = block < 2037 ? 48 : 16;
            ASSERT_TRUE(std::equal(r[10 + block].begin() + 4, r[10 + block].begin() + 4 + bytes,
                                   image.begin() + 48 * block))
                << device << " block " << block;
        }
        EXPECT_EQ(r.back()[1], SYSTEM_LOCK);
        EXPECT_EQ(simProtocolViolations(device), 0u);
    }
    static bool has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    std::vector<std::uint8_t> image;
    WatchedOutput watched;
    std::atomic<bool> interrupt{false};
    bool inputIsTerminal = true; // with `interactive`: a person types the answers
    int polls = 0;
    std::function<void()> onIdle;
    // As where the platform tells of device changes: these, one by one.
    bool toldOfChanges = false;
    std::deque<HotPlugEvent> told;
};

TEST_F(ParallelLine, EachUnitIsWrittenAtOnceAndOnlyItsOwnResultIsTold) {
    const int good = plug(L"/dev/hidraw1");
    const int failsAtErase = plug(L"/dev/hidraw2");
    simAddFault(failsAtErase, {SimFaultKind::StatusError, ERASE, 1, 7});
    const int removed = plug(L"/dev/hidraw3");
    simAddFault(removed, {SimFaultKind::Unplug, WRITE_BLOCK, 300});
    const int current = plug(L"/dev/hidraw4", 0x0300);
    int late = -1;
    // Arrives once the first unit is half written, while the others write too.
    watched.onLine = [&](const std::string& line) {
        if (late < 0 && has(line, "\"device\":\"/dev/hidraw1\",\"port\":\"\",\"percent\":50"))
            late = plug(L"/dev/hidraw5");
    };
    const Ran r = run({L"update", L"--each", L"--parallel", L"--yes", L"--count", L"5", L"--json"});
    EXPECT_EQ(r.status, kExitFailed);

    expectWholeUpdate(good);
    ASSERT_GE(late, 0);
    expectWholeUpdate(late);
    const auto erased = requestsOf(failsAtErase);
    ASSERT_EQ(erased.size(), 3u + 3u + 3u) << "nothing after the erase that failed";
    EXPECT_EQ(erased.back()[1], ERASE);
    EXPECT_EQ(requestsOf(current).size(), 3u) << "identified, then skipped";
    EXPECT_LT(requestsOf(removed).size(), 3u + 3u + 4u + 2038u);
    // The late unit started before the first one ended: the writes overlapped.
    const std::vector<SimExchange> transcript = simTranscript();
    std::size_t firstOfLate = transcript.size(), lastOfGood = 0;
    for (std::size_t i = 0; i < transcript.size(); ++i) {
        if (transcript[i].device == late)
            firstOfLate = std::min(firstOfLate, i);
        if (transcript[i].device == good)
            lastOfGood = i;
    }
    EXPECT_LT(firstOfLate, lastOfGood);

    // Every line a JSON object; every progress and result line names its unit.
    std::istringstream lines(r.out);
    std::string line;
    int progressLines = 0;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.front() == '{' && line.back() == '}') << line;
        if (has(line, "\"type\":\"progress\"") || has(line, "\"type\":\"result\"")) {
            EXPECT_TRUE(has(line, "\"device\":\"/dev/hidraw")) << line;
        }
        progressLines += has(line, "\"type\":\"progress\"");
    }
    EXPECT_EQ(progressLines, 2 * 10 + 1) << "10 to 100 % for two, 10 % for the one pulled";
    EXPECT_TRUE(has(r.out, "{\"type\":\"result\",\"device\":\"/dev/hidraw4\",\"port\":\"\",\"product\":"
                           "\"DOCK-BOX\",\"result\":\"skipped\""));
    EXPECT_TRUE(has(r.out, "\"type\":\"tally\",\"updated\":2,\"failed\":2,\"skipped\":1,"
                           "\"declined\":0,\"changed\":0,\"units\":[{\"device\":\"/dev/hidraw"));
    EXPECT_TRUE(has(r.out, "{\"device\":\"/dev/hidraw2\",\"port\":\"\",\"product\":\"DOCK-BOX\",\"result\":"
                           "\"failed\""));
    EXPECT_TRUE(has(r.out, "0x00000007-0x00000000")) << "the erase's code line";
}

TEST_F(ParallelLine, TheTallyNamesEachUnitWithItsResultAndCodeLine) {
    plug(L"/dev/hidraw1");
    const int failing = plug(L"/dev/hidraw2");
    simAddFault(failing, {SimFaultKind::StatusError, ERASE, 1, 7});
    const Ran r = run({L"update", L"--all", L"--yes"});
    EXPECT_EQ(r.status, kExitFailed);
    const std::string tally =
        r.out.substr(r.out.find("Updated: 1, failed: 1, skipped: 0, declined: 0, changed: 0\n"));
    EXPECT_TRUE(has(tally, "\n  /dev/hidraw1  DOCK-BOX  updated\n"));
    EXPECT_TRUE(has(tally, "\n  /dev/hidraw2  DOCK-BOX  failed\n"
                           "    The system shows following errorcode: 0x00000007-0x00000000\n"));
    EXPECT_EQ(std::count(tally.begin(), tally.end(), '\n'), 4) << "in the order the results came";
    EXPECT_TRUE(has(r.err, "/dev/hidraw1  DOCK-BOX  10 %  block 204 of 2038"));
    EXPECT_EQ(polls, 0) << "--all takes what is there, without waiting";

    simReset();
    const Ran none = run({L"update", L"--all", L"--yes"});
    EXPECT_EQ(none.status, kExitNoUnit);
    EXPECT_TRUE(has(none.out, "Updated: 0, failed: 0, skipped: 0, declined: 0, changed: 0\n"));
}

TEST_F(ParallelLine, AnInterruptWhileTwoWriteIsRefusedAndNoUnitStartsAfterIt) {
    const int first = plug(L"/dev/hidraw1");
    const int second = plug(L"/dev/hidraw2");
    bool plugged = false;
    watched.onLine = [&](const std::string& line) {
        if (!plugged && has(line, "\"device\":\"/dev/hidraw2\",\"port\":\"\",\"percent\":30")) {
            plugged = true;
            interrupt = true;
            plug(L"/dev/hidraw3"); // arrives after the interrupt: never started
        }
    };
    const Ran r = run({L"update", L"--each", L"--parallel=2", L"--yes", L"--json"});
    EXPECT_EQ(r.status, kExitInterrupted);
    EXPECT_TRUE(has(r.err, "The update must not be interrupted"));
    expectWholeUpdate(first);
    expectWholeUpdate(second);
    EXPECT_TRUE(has(r.out, "\"type\":\"tally\",\"updated\":2,\"failed\":0,\"skipped\":0"));
    EXPECT_EQ(r.out.find("/dev/hidraw3"), std::string::npos);
}

TEST_F(ParallelLine, TheLimitHoldsTheNextUnitUntilOneEnds) {
    const int a = plug(L"/dev/hidraw1");
    const int b = plug(L"/dev/hidraw2");
    const Ran r = run({L"update", L"--each", L"--parallel=1", L"--yes", L"--count", L"2"});
    EXPECT_EQ(r.status, kExitOk);
    expectWholeUpdate(a);
    expectWholeUpdate(b);
    const std::vector<SimExchange> transcript = simTranscript();
    std::size_t lastOfA = 0, firstWriteOfB = transcript.size();
    for (std::size_t i = 0; i < transcript.size(); ++i) {
        if (transcript[i].device == a)
            lastOfA = i;
        if (transcript[i].device == b && transcript[i].request[1] == SYSTEM_LOCK)
            firstWriteOfB = std::min(firstWriteOfB, i);
    }
    EXPECT_LT(lastOfA, firstWriteOfB) << "one at a time";
}

// Without --yes, on a terminal: one question at a time, naming its unit, while the units
// already answered go on writing.
TEST_F(ParallelLine, OnATerminalEachUnitIsAskedByName) {
    const int first = plug(L"/dev/hidraw1");
    const int second = plug(L"/dev/hidraw2");
    const Ran r = run({L"update", L"--each", L"--parallel", L"--count", L"2"}, "y\nn\n", true);
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(has(r.err, "/dev/hidraw1  DOCK-BOX  [y/N] "));
    EXPECT_TRUE(has(r.err, "/dev/hidraw2  DOCK-BOX  [y/N] "));
    expectWholeUpdate(first);
    EXPECT_EQ(requestsOf(second).size(), 3u) << "declined: identified only";
    EXPECT_TRUE(has(r.out, "/dev/hidraw2  DOCK-BOX  Declined: nothing was written.\n"));
    EXPECT_TRUE(has(r.out, "Updated: 1, failed: 0, skipped: 0, declined: 1, changed: 0\n"));
}

// A unit whose controller was swapped while its question waited is not written, and is
// told, tallied and recorded as changed; the line goes on.
TEST_F(ParallelLine, AControllerSwappedWhileItsQuestionWaitsIsChanged) {
    const int unit = plug(L"/dev/hidraw1");
    HookedInput answer("y\n", [unit] { simSwapController(unit, 0x1422605A, 0x0909); });
    answerAfter = &answer;
    const Ran r = run({L"update", L"--each", L"--count", L"1", L"--json"}, "", true);
    answerAfter = nullptr;
    EXPECT_EQ(r.status, kExitOk) << "not a failure";
    EXPECT_EQ(requestsOf(unit).size(), 3u + 3u) << "identified twice, nothing written";
    EXPECT_TRUE(has(r.out, "\"product\":\"DOCK-BOX\",\"result\":\"changed\""));
    EXPECT_TRUE(has(r.out, "\"declined\":0,\"changed\":1,\"units\":["));
}

// A script's "yes |" answers the first question of every unit, never the same-or-newer
// one: a current controller is skipped and nothing is asked, in either kind of line.
TEST_F(ParallelLine, APipedYesNeverWritesACurrentController) {
    for (const std::vector<std::wstring>& args :
         {std::vector<std::wstring>{L"update", L"--all", L"--yes"},
          {L"update", L"--each", L"--parallel", L"--yes", L"--count", L"2"},
          {L"update", L"--each", L"--yes", L"--count", L"2"}}) {
        for (bool stderrIsTerminal : {false, true}) {
            inputIsTerminal = false;
            simReset();
            simSetFirmwareImage(image);
            const int current = plug(L"/dev/hidraw1", 0x0300);
            const int older = plug(L"/dev/hidraw2");
            const Ran r = run(args, std::string(100, 'y') + "\n", stderrIsTerminal);
            EXPECT_EQ(r.status, kExitOk) << args.size();
            EXPECT_EQ(requestsOf(current).size(), 3u) << "identified only";
            expectWholeUpdate(older);
            EXPECT_FALSE(has(r.err, "[y/N]")) << "nothing asked";
            EXPECT_TRUE(has(r.out, "/dev/hidraw1  DOCK-BOX  Skipped: the controller already has"));
            EXPECT_TRUE(has(r.out, "Updated: 1, failed: 0, skipped: 1, declined: 0, changed: 0\n"));
        }
    }
}

// A bench names its units by the sockets they are plugged into: each line, result and the
// tally say the port, and --port takes only the units on the ports given.
TEST_F(ParallelLine, UnitsAreNamedAndChosenByTheirUsbPort) {
    SimUnitConfig onHub;
    onHub.port = L"1-2.1";
    const int first = simAddUnit(L"/dev/hidraw4", onHub);
    onHub.port = L"1-2.2";
    const int second = simAddUnit(L"/dev/hidraw7", onHub);
    onHub.port = L"1-3";
    const int elsewhere = simAddUnit(L"/dev/hidraw9", onHub);
    const Ran r = run({L"update", L"--all", L"--yes", L"--port", L"1-2.1", L"--port=1-2.2"});
    EXPECT_EQ(r.status, kExitOk);
    expectWholeUpdate(first);
    expectWholeUpdate(second);
    EXPECT_TRUE(requestsOf(elsewhere).empty()) << "not on a chosen port: never opened";
    EXPECT_TRUE(has(r.err, "1-2.1  /dev/hidraw4  DOCK-BOX  10 %  block 204 of 2038"));
    EXPECT_TRUE(has(r.out, "\n  1-2.1  /dev/hidraw4  DOCK-BOX  updated\n")) << r.out;
    EXPECT_TRUE(has(r.out, "\n  1-2.2  /dev/hidraw7  DOCK-BOX  updated\n"));
    EXPECT_EQ(r.out.find("1-3"), std::string::npos);

    simReset();
    simSetFirmwareImage(image);
    onHub.port = L"1-2.1";
    simAddUnit(L"/dev/hidraw4", onHub);
    const Ran json = run({L"update", L"--all", L"--yes", L"--json"});
    EXPECT_TRUE(has(json.out, "{\"type\":\"result\",\"device\":\"/dev/hidraw4\",\"port\":"
                              "\"1-2.1\",\"product\":\"DOCK-BOX\",\"result\":\"updated\""));
    EXPECT_TRUE(has(json.out, "\"units\":[{\"device\":\"/dev/hidraw4\",\"port\":\"1-2.1\""));
}

// A port given with nothing plugged into it is waited for; one the platform cannot have is
// a usage error before anything is touched.
TEST_F(ParallelLine, AChosenPortIsWaitedForAndAWrongOneRefused) {
    SimUnitConfig onHub;
    onHub.port = L"1-3";
    const int other = simAddUnit(L"/dev/hidraw1", onHub);
    const Ran waited = run({L"update", L"--each", L"--yes", L"--port", L"1-2.4", L"--wait=2"});
    EXPECT_EQ(waited.status, kExitNoUnit);
    EXPECT_TRUE(requestsOf(other).empty());
    for (const wchar_t* wrong : {L"/dev/hidraw1", L"usb1", L"1-2."}) {
        const Ran r = run({L"update", L"--each", L"--yes", L"--port", wrong});
        EXPECT_EQ(r.status, kExitUsage) << wrong;
        EXPECT_TRUE(has(r.err, "is not the name of a USB port here")) << wrong;
    }
    EXPECT_TRUE(requestsOf(other).empty());
}

// A person at the terminal is asked the same-or-newer question by name, and a yes writes.
TEST_F(ParallelLine, APersonAtTheTerminalDecidesAboutACurrentController) {
    const int current = plug(L"/dev/hidraw1", 0x0300);
    const Ran r = run({L"update", L"--each", L"--yes", L"--count", L"1"}, "y\n", true);
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(has(r.err, "/dev/hidraw1  DOCK-BOX  [y/N] "));
    expectWholeUpdate(current);
}

// One unit after another: each result as it comes, the current one skipped, the failed one
// never stopping the line, and the next unit taken once the last is unplugged.
TEST_F(ParallelLine, OneAfterAnotherTalliesEveryUnit) {
    int current = -1;
    int step = 0;
    auto next = [&] {
        ++step;
        if (step == 1) {
            current = plug(L"/dev/hidraw1");
            simAddFault(current, {SimFaultKind::StatusError, ERASE, 1, 7});
        } else if (step == 2) {
            current = plug(L"/dev/hidraw2", 0x0300);
        } else if (step == 3) {
            current = plug(L"/dev/hidraw3");
        }
    };
    onIdle = [&] {
        if (current >= 0) {
            simRemoveDevice(current); // taken off the bench after its result
            current = -1;
        } else {
            next();
        }
    };
    const Ran r = run({L"update", L"--each", L"--yes", L"--count", L"3"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_TRUE(has(r.out, "Updated: 1, failed: 1, skipped: 1, declined: 0, changed: 0\n")) << r.out;
    EXPECT_TRUE(has(r.out, "/dev/hidraw1  " + utf8Lines(loadText(Language::English, IDS_FAIL_ERASE))));
    EXPECT_TRUE(has(r.out, "/dev/hidraw2  DOCK-BOX  Skipped:"));
    EXPECT_TRUE(has(r.out, "--force"));
    EXPECT_EQ(step, 3);
}

TEST_F(ParallelLine, AWaitThatRunsOutEndsWithTheTallyAndNoUnit) {
    Ran r = run({L"update", L"--each", L"--yes", L"--wait=2"});
    EXPECT_EQ(r.status, kExitNoUnit) << "a wait that runs out is no interrupt";
    EXPECT_TRUE(has(r.out, "Updated: 0, failed: 0, skipped: 0, declined: 0, changed: 0\n"));

    polls = 0;
    onIdle = [this] {
        if (polls == 2)
            interrupt = true;
    };
    r = run({L"update", L"--each", L"--yes", L"--wait=10", L"--json"});
    EXPECT_EQ(r.status, kExitInterrupted);
    EXPECT_TRUE(has(r.out, "\n{\"type\":\"tally\",\"updated\":0,\"failed\":0,\"skipped\":0,"
                           "\"declined\":0,\"changed\":0,\"units\":[]}\n"));
}

// A wait counts on the clock: a host that looks at the bus slowly (1.5 s a round here)
// still ends --wait=3 after 3 s, not after six rounds.
TEST_F(ParallelLine, AWaitEndsOnTimeOnASlowBus) {
    onIdle = [] { platformWait(1000); };
    const std::uint64_t start = simNow();
    const Ran r = run({L"update", L"--each", L"--yes", L"--wait=3"});
    EXPECT_EQ(r.status, kExitNoUnit);
    EXPECT_EQ(polls, 2);
    EXPECT_GE(simNow() - start, 3000u);
    EXPECT_LT(simNow() - start, 4500u);
}

// Answers that come one line at a time, each after its gate opens, as a person who is slow
// to answer the second question.
class GatedInput : public std::streambuf {
  public:
    GatedInput(std::vector<std::string> lines, std::function<bool()> gate)
        : lines_(std::move(lines)), gate_(std::move(gate)) {}

  protected:
    int_type underflow() override {
        if (next_ >= lines_.size())
            return traits_type::eof();
        // Given up on after two minutes, so that a fault fails the test instead of hanging it.
        for (int i = 0; next_ > 0 && !gate_() && i < 12000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::string& line = lines_[next_++];
        setg(line.data(), line.data(), line.data() + line.size());
        return traits_type::to_int_type(*gptr());
    }

  private:
    std::vector<std::string> lines_;
    std::function<bool()> gate_;
    std::size_t next_ = 0;
};

// A unit that finishes while another's question waits is on the disk before that question
// is answered: a power cut meanwhile loses nothing.
TEST_F(ParallelLine, AUnitFinishingWhileAQuestionWaitsIsRecordedAtOnce) {
    const std::string file = testing::TempDir() + "line-question-waits.jsonl";
    std::remove(file.c_str());
    const int first = plug(L"/dev/hidraw1");
    const int second = plug(L"/dev/hidraw2");
    bool recordedBeforeAnswer = false;
    GatedInput answers({"y\n", "n\n"}, [&] {
        std::ifstream record(file);
        std::string line;
        return recordedBeforeAnswer = static_cast<bool>(std::getline(record, line));
    });
    answerAfter = &answers;
    const Ran r = run({L"update", L"--each", L"--parallel", L"--count", L"2", L"--log",
                       std::wstring(file.begin(), file.end())},
                      "", true);
    answerAfter = nullptr;
    EXPECT_TRUE(recordedBeforeAnswer) << "the first unit's record waited for the answer";
    EXPECT_EQ(r.status, kExitOk);
    expectWholeUpdate(first);
    EXPECT_EQ(requestsOf(second).size(), 3u);
    EXPECT_TRUE(has(r.out, "Updated: 1, failed: 0, skipped: 0, declined: 1, changed: 0\n"));
    std::remove(file.c_str());
}

// A unit taken off and another plugged in at the same node between two looks is a new
// unit: it is written, and a line with --count ends.
TEST_F(ParallelLine, AUnitSwappedAtTheSameNodeIsWritten) {
    int unit = plug(L"/dev/hidraw1");
    const int first = unit;
    int swapped = -1;
    watched.onLine = [&](const std::string& line) {
        if (swapped < 0 && has(line, "/dev/hidraw1  DOCK-BOX  updated")) {
            simRemoveDevice(unit);
            swapped = unit = plug(L"/dev/hidraw1");
        }
    };
    onIdle = [this] {
        if (polls > 40)
            interrupt = true; // the second never came: fail, not hang
    };
    const Ran r = run({L"update", L"--each", L"--yes", L"--count", L"2"});
    watched.onLine = nullptr;
    EXPECT_EQ(r.status, kExitOk) << r.out;
    expectWholeUpdate(first);
    ASSERT_GE(swapped, 0);
    expectWholeUpdate(swapped);
    EXPECT_TRUE(has(r.out, "Updated: 2, failed: 0"));
}

// Where the platform tells of device changes, what is plugged in is looked at when it
// does, not every half second.
TEST_F(ParallelLine, AWatchedLineLooksWhenToldAndOnlyThen) {
    toldOfChanges = true;
    int second = -1;
    onIdle = [&] {
        if (polls == 2)
            second = plug(L"/dev/hidraw2"); // not told yet
        if (polls == 6)
            told.push_back({true, L"/dev/hidraw2"});
        if (polls > 40)
            interrupt = true;
    };
    const int first = plug(L"/dev/hidraw1");
    const Ran r = run({L"update", L"--each", L"--parallel", L"--yes", L"--count", L"2"});
    EXPECT_EQ(r.status, kExitOk) << r.out;
    expectWholeUpdate(first);
    expectWholeUpdate(second);
    EXPECT_EQ(polls, 6) << "the second started once told, not at the look after it came";
}

TEST_F(ParallelLine, AWatchedWaitLooksWhenTold) {
    toldOfChanges = true;
    onIdle = [&] {
        if (polls == 2)
            plug(L"/dev/hidraw1");
        if (polls == 5)
            told.push_back({true, L"/dev/hidraw1"});
    };
    const Ran r = run({L"status", L"--wait=60"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(polls, 5);
    EXPECT_EQ(simTranscript().size(), 3u) << "identified once, when told";
}

TEST_F(ParallelLine, UsageProblems) {
    const Ran piped = run({L"update", L"--each"});
    EXPECT_EQ(piped.status, kExitUsage);
    EXPECT_EQ(piped.err, "without '--yes' a production line asks for each unit, which needs a "
                         "terminal: give '--yes', or run it on a terminal. Try '--help'.\n");
    for (const std::vector<std::wstring>& args :
         {std::vector<std::wstring>{L"update", L"--each", L"--parallel"},
          {L"update", L"--parallel", L"--yes"},
          {L"status", L"--all", L"--yes"},
          {L"update", L"--all", L"--each", L"--yes"},
          {L"update", L"--each", L"--parallel=0", L"--yes"}}) {
        const Ran r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << args.size();
        EXPECT_TRUE(has(r.err, "--help"));
    }
}

} // namespace
