// The terminal edition in-process against the simulated unit on its virtual clock: what it
// prints on which stream, what it asks and what it exits with.
#include "resources/generate/firmware_pattern.h"
#include "resources/texts.h"
#include "resources/resource_ids.h"
#include "platform/platform.h"
#include "session/presentation.h"
#include "sim/sim_unit.h"
#include "terminal/terminal.h"
#include "tests/terminal/hooked_input.h"
#include "update/sha256.h"
#include "unitlink/unit_connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

struct Ran {
    int status;
    std::string out, err;
};


bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class TerminalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        image = standInImage();
        fresh();
    }
    // A text of the last run's language, as the terminal prints it.
    std::string utf8(unsigned id) const { return utf8Lines(loadText(language, id)); }
    // A run with its arguments as Linux hands them over, each byte one character.
    Ran run(std::vector<std::string> args, const std::string& input = "", bool german = false,
            bool interactive = false) {
        std::vector<std::wstring> wide;
        for (const std::string& arg : args)
            wide.emplace_back(arg.begin(), arg.end());
        return runWide(wide, input, german, interactive);
    }
    Ran runWide(const std::vector<std::wstring>& args, const std::string& input = "",
                bool german = false, bool interactive = false) {
        language = german ? Language::German : Language::English;
        std::istringstream typed(input);
        std::istream hooked(answerAfter);
        std::istream& in = answerAfter != nullptr ? hooked : typed;
        std::ostringstream out, err;
        const std::size_t handles = simOpenHandles();
        const int status = terminalMain(args, setup(in, out, err, interactive));
        EXPECT_EQ(simOpenHandles(), handles) << "the unit is closed on every way out";
        return {status, out.str(), err.str()};
    }
    TerminalSetup setup(std::istream& in, std::ostream& out, std::ostream& err, bool interactive) {
        TerminalSetup s;
        s.language = language;
        s.in = &in;
        s.out = &out;
        s.err = &err;
        s.interactive = interactive;
        s.inputIsTerminal = inputIsTerminal;
        s.interrupt = &interrupt;
        s.idle = [this] {
            ++polls;
            platformWait(kUnitPollMs); // on the simulated clock
            if (onIdle)
                onIdle();
        };
        return s;
    }
    // An empty bus with the image to write.
    void fresh() {
        simReset();
        simSetFirmwareImage(image);
    }
    static int plug(const wchar_t* path = L"/dev/hidraw3", std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.escFirmwareVersion = installed;
        return simAddUnit(path, config);
    }
    std::vector<std::uint8_t> image;
    std::streambuf* answerAfter = nullptr; // standard input instead of `input`
    Language language = Language::English;
    bool inputIsTerminal = false; // with `interactive`: a person types the answers
    int polls = 0;
    std::function<void()> onIdle;
    std::atomic<bool> interrupt{false};
};

TEST_F(TerminalTest, StatusOfEachOutcomeWithItsExitStatus) {
    struct Case {
        const char* name;
        bool present, bootloader;
        std::uint16_t escState;
        std::uint32_t typeCode;
        int status;
        unsigned hint;
    };
    const Case cases[] = {
        {"none", false, false, 3, 0x1422605A, kExitNoUnit, IDS_HINT_NO_UNIT},
        {"mode", true, true, 3, 0x1422605A, kExitWrongMode, IDS_HINT_WRONG_MODE},
        {"no esc", true, false, 2, 0x1422605A, kExitNoUpdatableEsc, IDS_HINT_NO_UPDATABLE_ESC},
        {"type", true, false, 3, 0x1234, kExitIncompatible, IDS_HINT_INCOMPATIBLE},
        {"ready", true, false, 3, 0x0A06405A, kExitOk, IDS_HINT_READY}};
    for (bool german : {false, true})
        for (const Case& c : cases) {
            fresh();
            SimUnitConfig config;
            config.unitInBootloader = c.bootloader;
            config.escState = c.escState;
            config.typeCode = c.typeCode;
            if (c.present)
                simAddUnit(L"/dev/hidraw3", config);
            const Ran r = run({}, "", german);
            EXPECT_EQ(r.status, c.status) << c.name;
            EXPECT_TRUE(has(r.out, utf8(c.hint))) << c.name << german;
            EXPECT_EQ(has(r.out, utf8(IDS_HINT_INSTRUCTIONS)), c.status != kExitOk) << c.name;
            EXPECT_TRUE(has(r.out, c.status == kExitOk ? "DOCK-BOX: 2.3\n" : ": 0.0.0\n"));
            const std::string message =
                utf8Lines(formatText(loadText(language, IDS_INCOMPATIBLE_MESSAGE), {L"ORCA 75 LX"}));
            EXPECT_EQ(has(r.out, message), c.status == kExitIncompatible) << c.name;
            EXPECT_TRUE(r.err.empty()) << c.name << r.err;
        }
}

TEST_F(TerminalTest, UpdateAnsweredOnStandardInput) {
    struct Case {
        const char* input;
        bool german;
        int status;
    };
    for (const Case& c : {Case{"y\n", false, kExitOk}, Case{"YES\n", false, kExitOk},
                          Case{"ja\n", true, kExitOk}, Case{"j\n", false, kExitDeclined},
                          Case{"no\n", false, kExitDeclined}, Case{"", false, kExitDeclined}}) {
        fresh();
        const int unit = plug();
        const Ran r = run({"update"}, c.input, c.german);
        // German answers count where the program speaks German, as its entry chose.
        const int expected = c.status;
        EXPECT_EQ(r.status, expected) << c.input;
        EXPECT_TRUE(has(r.err, utf8(IDS_CONFIRM_UPDATE))) << "the box's very text";
        const bool written = std::equal(image.begin(), image.end(), simFlash(unit).begin());
        EXPECT_EQ(written, expected == kExitOk) << c.input;
        if (expected == kExitOk)
            EXPECT_TRUE(has(r.out, utf8(IDS_HINT_UPDATE_DONE)));
        else
            EXPECT_EQ(simTranscript().size(), 3u) << "nothing but identification was sent";
    }
}

// The same-or-newer question is answered by --force or by a person at a terminal, never
// from a pipe: a script's "yes |" leaves a current controller as it is.
TEST_F(TerminalTest, YesAndForceAnswerOneQuestionEach) {
    struct Case {
        std::vector<std::string> args;
        std::string input;
        bool person; // standard input and error are a terminal
        int status;
        bool asked; // the same-or-newer question waited for an answer
    };
    const Case cases[] = {{{"update", "--yes"}, "", false, kExitDeclined, false},
                          {{"update", "--yes"}, "y\n", false, kExitDeclined, false},
                          {{"update"}, "y\ny\n", false, kExitDeclined, false},
                          {{"update", "--yes"}, "y\n", true, kExitOk, true},
                          {{"update", "--yes"}, "\n", true, kExitDeclined, true},
                          {{"update", "--force"}, "", false, kExitDeclined, false},
                          {{"update", "--force"}, "y\n", false, kExitOk, false},
                          {{"update", "--yes", "--force"}, "", false, kExitOk, false}};
    for (const Case& c : cases) {
        fresh();
        const int unit = plug(L"/dev/hidraw3", 0x0300);
        inputIsTerminal = c.person;
        const Ran r = run(c.args, c.input, false, c.person);
        EXPECT_EQ(r.status, c.status) << c.args.size() << c.input << c.person;
        const bool firstAccepted =
            std::count(c.args.begin(), c.args.end(), "--yes") > 0 || !c.input.empty();
        const std::string question = utf8(IDS_CONFIRM_OLDER_IMAGE) + "\n[y/N] ";
        EXPECT_EQ(has(r.err, question), firstAccepted);
        EXPECT_EQ(has(r.err, question + "n\n"), firstAccepted && !c.asked && c.status == kExitDeclined)
            << "said, not asked: " << r.err;
        const bool written = std::equal(image.begin(), image.end(), simFlash(unit).begin());
        EXPECT_EQ(written, c.status == kExitOk);
        if (c.status == kExitDeclined && firstAccepted && !c.asked) {
            EXPECT_TRUE(has(r.err, utf8(IDS_CLI_SKIPPED_SAME_OR_NEWER))) << r.err;
        }
    }
}

TEST_F(TerminalTest, FailureGoesToStandardOutputWithItsCodeLine) {
    const int unit = plug();
    simAddFault(unit, {SimFaultKind::ReadFails, WRITE_BLOCK, 100, 0, 31});
    const Ran r = run({"update", "--yes", "--quiet"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.out, utf8(IDS_FAIL_WRITE_BLOCK) + "\n" +
                         "The system shows following errorcode: 0xfffffffd-0x0000001f\n");
    EXPECT_FALSE(has(r.err, "%")) << "quiet: no progress";
}

TEST_F(TerminalTest, ProgressOnlyOnStandardErrorEveryTenPercentToAPipe) {
    plug();
    const Ran r = run({"update", "--yes"});
    ASSERT_EQ(r.status, kExitOk);
    EXPECT_FALSE(has(r.out, "block")) << "standard output carries results only";
    EXPECT_FALSE(has(r.out, "[y/N]"));
    std::size_t lines = 0;
    for (std::size_t at = r.err.find(" of 2038"); at != std::string::npos;
         at = r.err.find(" of 2038", at + 1))
        ++lines;
    EXPECT_EQ(lines, 10u);
    EXPECT_TRUE(has(r.err, "100 %  block 2038 of 2038  0 s left\n"));
    EXPECT_FALSE(has(r.err, "\r"));
}

TEST_F(TerminalTest, SeveralUnitsListedAndChosenByDevice) {
    plug(L"/dev/hidraw3");
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    dockpad.unitInBootloader = true;
    simAddUnit(L"/dev/hidraw5", dockpad);

    SimUnitConfig otherModel;
    otherModel.typeCode = 0x1234;
    const int other = simAddUnit(L"/dev/hidraw7", otherModel);

    // Each unit as status shows it: versions only of a unit ready to update.
    Ran r = run({"list"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out, "/dev/hidraw3  DOCK-BOX  2.3  1.5  2.5  ready\n"
                     "/dev/hidraw5  DOCKPAD  0.0.0  0.0.0  0.0.0  wrong-mode\n"
                     "/dev/hidraw7  DOCK-BOX  0.0.0  0.0.0  0.0.0  incompatible\n");
    r = run({"list", "--json"});
    EXPECT_TRUE(has(r.out, "{\"type\":\"unit\",\"device\":\"/dev/hidraw7\",\"port\":\"\",\"product\":"
                           "\"DOCK-BOX\",\"unit\":\"0.0.0\",\"bootloader\":\"0.0.0\","
                           "\"controller\":\"0.0.0\",\"outcome\":\"incompatible\"}\n"))
        << r.out;
    simRemoveDevice(other);
    r = run({"status"});
    EXPECT_EQ(r.status, kExitOk) << "the first, as the window takes it";
    EXPECT_TRUE(has(r.err, "/dev/hidraw5  DOCKPAD"));
    r = run({"update", "--yes"});
    EXPECT_EQ(r.status, kExitSeveralUnits);
    EXPECT_TRUE(r.out.empty());
    r = run({"status", "--device", "/dev/hidraw5"});
    EXPECT_EQ(r.status, kExitWrongMode);
    r = run({"status", "--device=/dev/hidraw9"});
    EXPECT_EQ(r.status, kExitNoUnit);
}

TEST_F(TerminalTest, UnitThisUserMayNotOpen) {
    const int unit = plug();
    simSetOpenable(unit, false);
    Ran r = run({"status"});
    EXPECT_EQ(r.status, kExitNoAccess);
    EXPECT_TRUE(has(r.err, "plugdev"));
    EXPECT_TRUE(has(r.err, "/dev/hidraw3"));
    r = run({"list", "--json"});
    EXPECT_EQ(r.out, "{\"type\":\"unit\",\"device\":\"/dev/hidraw3\",\"port\":\"\",\"product\":\"DOCK-BOX\","
                     "\"unit\":\"-\",\"bootloader\":\"-\",\"controller\":\"-\","
                     "\"outcome\":\"no-access\"}\n");
}

TEST_F(TerminalTest, UnitInUseByAnotherInstanceIsLeftAlone) {
    plug();
    const DeviceHandle other = platformOpenDevice(L"/dev/hidraw3"); // the other instance
    ASSERT_NE(other, kNoDevice);
    const std::size_t sent = simTranscript().size();
    Ran r = run({"update", "--yes"});
    EXPECT_EQ(r.status, kExitInUse);
    EXPECT_TRUE(has(r.err, "in use by another instance"));
    EXPECT_EQ(simTranscript().size(), sent) << "not a byte to a unit in use";
    r = run({"list"});
    EXPECT_TRUE(has(r.out, "/dev/hidraw3  DOCK-BOX  -  -  -  in-use\n"));
    platformCloseDevice(other);
    EXPECT_EQ(run({"status"}).status, kExitOk);
}

TEST_F(TerminalTest, WaitTakesTheUnitThatArrivesOrTimesOut) {
    onIdle = [this] {
        if (polls == 3)
            plug();
    };
    Ran r = run({"status", "--wait"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(polls, 3);
    EXPECT_TRUE(has(r.out, utf8(IDS_HINT_READY)));

    fresh();
    polls = 0;
    onIdle = nullptr;
    r = run({"status", "--wait=2"});
    EXPECT_EQ(r.status, kExitNoUnit);
    EXPECT_EQ(polls, 4) << "every 500 ms for 2 s";
}

// On the clock, not by rounds: with 1.5 s a round, --wait=3 ends after two.
TEST_F(TerminalTest, WaitEndsOnTimeOnASlowBus) {
    onIdle = [] { platformWait(1000); };
    const std::uint64_t start = simNow();
    const Ran r = run({"update", "--wait=3"});
    EXPECT_EQ(r.status, kExitNoUnit);
    EXPECT_EQ(polls, 2);
    EXPECT_LT(simNow() - start, 4500u);
}

TEST_F(TerminalTest, WaitAsksAUnitAgainOnlyWhenSomethingIsPluggedInOrOut) {
    SimUnitConfig bootloader;
    bootloader.unitInBootloader = true;
    simAddUnit(L"/dev/hidraw3", bootloader);
    Ran r = run({"update", "--wait=3"});
    EXPECT_EQ(r.status, kExitNoUnit) << "timed out";
    EXPECT_EQ(simTranscript().size(), 2u) << "identified once, not at every poll";
    const std::string said = utf8(IDS_HINT_WRONG_MODE);
    EXPECT_NE(r.err.find(said), std::string::npos);
    EXPECT_EQ(r.err.find(said), r.err.rfind(said)) << "each state said once";

    // Unplugged and plugged in again in the right mode: asked again, and ready.
    fresh();
    polls = 0;
    const int wrongMode = simAddUnit(L"/dev/hidraw3", bootloader);
    onIdle = [&] {
        if (polls == 2) {
            simRemoveDevice(wrongMode);
            plug(L"/dev/hidraw4");
        }
    };
    r = run({"status", "--wait=10"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(has(r.out, utf8(IDS_HINT_READY)));
}

// Status and list say which socket a unit is plugged into, where the platform tells.
TEST_F(TerminalTest, StatusAndListNameTheUsbPort) {
    SimUnitConfig config;
    config.port = L"1-2.3";
    simAddUnit(L"/dev/hidraw3", config);
    Ran r = run({"status"});
    EXPECT_TRUE(has(r.out, "DOCK-BOX: 2.3\nESC-bootloader: 1.5\nESC: 2.5\nUSB port: 1-2.3\n")) << r.out;
    r = run({"status", "--json"});
    EXPECT_TRUE(has(r.out, "\"device\":\"/dev/hidraw3\",\"port\":\"1-2.3\",\"product\""));
    r = run({"list"});
    EXPECT_EQ(r.out, "1-2.3  /dev/hidraw3  DOCK-BOX  2.3  1.5  2.5  ready\n");
    r = run({"list", "--port", "1-2.4"});
    EXPECT_EQ(r.status, kExitNoUnit);
    EXPECT_TRUE(r.out.empty());
}

// A path that is not ASCII reaches the device list as the system spells it.
TEST_F(TerminalTest, DevicePathsThatAreNotAsciiRoundTrip) {
    const std::wstring path = L"\\\\?\\hid#vid_1f4b&pid_0002#\u00fcnit\u4e2d#{4d1e55b2}";
    plug(path.c_str());
    plug(L"/dev/hidraw3");
    const Ran r = runWide({L"status", L"--device", path, L"--json"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(
        has(r.out,
            "\"device\":\"\\\\\\\\?\\\\hid#vid_1f4b&pid_0002#\xC3\xBCnit\xE4\xB8\xAD#{4d1e55b2}\""))
        << r.out;
}

TEST(TerminalText, TextsThatAreNotValidUtf16BecomeTheReplacementCharacter) {
    EXPECT_EQ(utf8Lines(L"a\xD800"
                        L"b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(utf8Lines(L"a\xDC00"), "a\xEF\xBF\xBD");
    EXPECT_EQ(jsonString(L"\xD800\"\r\n"), "\"\xEF\xBF\xBD\\\"\\r\\n\"")
        << "a carriage return is kept, escaped";
    EXPECT_EQ(jsonString(L"\x01\t"), "\"\\u0001\\u0009\"");
    EXPECT_EQ(utf8Lines(L"\xD83D\xDE00"), "\xF0\x9F\x98\x80") << "a pair stays one character";
    EXPECT_EQ(utf8Lines(L"\u00e4\u20ac"), "\xC3\xA4\xE2\x82\xAC");
}

// On Windows the texts are the string table's that Windows chose (English in the tests'
// prefix); elsewhere those of the language the entry handed down.
bool tablesFollowTheLanguage() {
    return loadText(Language::German, IDS_LANGUAGE) == L"de";
}

TEST_F(TerminalTest, CommandLineProblemsInTheInterfaceLanguage) {
    const Ran english = run({"--bogus"}, "", false, true);
    EXPECT_EQ(english.status, kExitUsage);
    EXPECT_EQ(english.err, "unknown option '--bogus'. Try '--help'.\n");
    const Ran german = run({"--bogus"}, "", true, true);
    EXPECT_EQ(german.err, tablesFollowTheLanguage()
                              ? "unbekannte Option '--bogus'. Siehe '--help'.\n"
                              : "unknown option '--bogus'. Try '--help'.\n");
}

TEST_F(TerminalTest, JsonLinesCarryWhatTheWordsSay) {
    plug();
    const Ran r = run({"update", "--yes", "--json"});
    ASSERT_EQ(r.status, kExitOk);
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> types;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.front() == '{' && line.back() == '}') << line;
        const std::size_t at = line.find("\"type\":\"");
        ASSERT_NE(at, std::string::npos);
        types.push_back(line.substr(at + 8, line.find('"', at + 8) - at - 8));
    }
    EXPECT_EQ(types, (std::vector<std::string>{"status", "result"}));
    EXPECT_TRUE(has(r.out, "\"result\":\"updated\""));
    EXPECT_TRUE(has(r.out, jsonString(loadText(language, IDS_HINT_UPDATE_DONE))));
    EXPECT_TRUE(has(r.out, "\"controller\":\"2.5\""));
}

TEST_F(TerminalTest, InterruptEndsWhileWaitingAndIsRefusedDuringTheWrite) {
    onIdle = [this] { interrupt = true; };
    Ran r = run({"status", "--wait"});
    EXPECT_EQ(r.status, kExitInterrupted);

    // Asked to stop as the update is confirmed: the update goes on to its end.
    interrupt = false;
    struct InterruptingInput : std::streambuf {
        explicit InterruptingInput(std::atomic<bool>& interrupt) : interrupt(interrupt) {}
        std::atomic<bool>& interrupt;
        char answer[2] = {'y', '\n'};
        int underflow() override {
            if (gptr() != nullptr)
                return traits_type::eof();
            interrupt = true; // as the answer is typed
            setg(answer, answer, answer + 2);
            return 'y';
        }
    } input(interrupt);
    const int unit = plug();
    std::istream in(&input);
    std::ostringstream out, err;
    EXPECT_EQ(terminalMain({L"update"}, setup(in, out, err, false)), kExitOk);
    EXPECT_TRUE(has(err.str(), "The update must not be interrupted"));
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
}

TEST_F(TerminalTest, UsageErrorsPointToHelp) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"flash"},
                                                 {"--bogus"},
                                                 {"status", "list"},
                                                 {"--count", "2"},
                                                 {"status", "--each"},
                                                 {"update", "--each", "--count", "0", "--yes"},
                                                 {"update", "--each"},
                                                 {"--device"}}) {
        const Ran r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << args[0];
        EXPECT_TRUE(has(r.err, "--help")) << args[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const Ran help = run({"--help"}, "", true);
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_TRUE(has(help.out, tablesFollowTheLanguage() ? "Rückgabewert" : "Exit status"));
}

// The controller swapped behind the unit while the question waits: nothing is written;
// why, and what is connected now, are told, and the status is its own.
TEST_F(TerminalTest, AControllerSwappedWhileTheQuestionWaitsIsNotWritten) {
    for (bool json : {false, true}) {
        fresh();
        const int unit = plug();
        HookedInput answer("y\n", [unit] { simSwapController(unit, 0x0BADC0DE, 0x0909); });
        answerAfter = &answer;
        std::vector<std::string> args{"update"};
        if (json)
            args.push_back("--json");
        const Ran r = run(args);
        answerAfter = nullptr;
        EXPECT_EQ(r.status, kExitChanged) << json;
        const std::vector<SimExchange> transcript = simTranscript();
        EXPECT_TRUE(std::none_of(transcript.begin(), transcript.end(),
                                 [](const SimExchange& e) { return e.request[1] == SYSTEM_LOCK; }))
            << "nothing locked, erased or written";
        if (json) {
            EXPECT_TRUE(has(r.out, "{\"type\":\"message\",\"id\":\"controller-changed\""));
            EXPECT_TRUE(has(r.out, "\"result\":\"changed\",\"text\":\"" + utf8(IDS_CONTROLLER_CHANGED)));
        } else {
            const std::string message =
                utf8Lines(formatText(loadText(language, IDS_INCOMPATIBLE_MESSAGE), {L"ORCA 75 LX"}));
            EXPECT_LT(r.out.find(message), r.out.find(utf8(IDS_CONTROLLER_CHANGED)))
                << "as if just plugged in, then why nothing was written:\n" << r.out;
            EXPECT_TRUE(has(r.out, utf8(IDS_HINT_INCOMPATIBLE)));
        }
    }
}

// A program whose image does not match the digest its build took touches no unit to
// update, says why, and ends with its own status; status and --version say it too.
TEST_F(TerminalTest, ADamagedImageIsRefusedWithItsOwnStatus) {
    const std::string digest = sha256Hex(image.data(), image.size());
    plug();
    Ran r = run({"--version"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(has(r.out, "firmware image 3.0, 97792 bytes, SHA-256 " + digest + "\n")) << r.out;
    EXPECT_FALSE(has(r.out, utf8(IDS_IMAGE_DAMAGED)));

    simDamageFirmwareImage(97791);
    r = run({"update", "--yes"});
    EXPECT_EQ(r.status, kExitImageDamaged);
    EXPECT_TRUE(has(r.err, utf8(IDS_IMAGE_DAMAGED)));
    EXPECT_TRUE(simTranscript().empty()) << "no unit touched";
    r = run({"update", "--each", "--yes", "--count", "1"});
    EXPECT_EQ(r.status, kExitImageDamaged);
    EXPECT_TRUE(simTranscript().empty());

    r = run({"status", "--json"});
    EXPECT_EQ(r.status, kExitImageDamaged);
    EXPECT_TRUE(has(r.out, "\"updateEnabled\":false"));
    EXPECT_TRUE(has(r.out, "\"imageVersion\":\"3.0\",\"imageSize\":97792,\"imageSha256\":\"" + digest +
                               "\",\"imageDamaged\":true}"));
    r = run({"--version"}, "", true);
    EXPECT_TRUE(has(r.out, digest + "\n" + utf8(IDS_IMAGE_DAMAGED) + "\n")) << r.out;
}

} // namespace

