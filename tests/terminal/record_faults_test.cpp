// The record and the trace against what a station's disk and script do to them: a line cut
// off by a crash, a file-size limit, a link or a FIFO in the file's place, one file for
// both, an unset variable as a file name.
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "terminal/linux/run_program.h"
#include "tests/terminal/file_lines.h"
#include "tests/terminal/in_process_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool wholeRecord(const std::string& line) {
    return line.rfind("{\"time\":\"", 0) == 0 && line.back() == '}';
}

class RecordFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        simReset();
        simSetFirmwareImage(standInImage());
        for (const std::string& f : {file, other})
            std::remove(f.c_str());
    }
    void TearDown() override {
        for (const std::string& f : {file, other})
            std::remove(f.c_str());
    }
    static int plug(const wchar_t* path, const wchar_t* port) {
        SimUnitConfig config;
        config.port = port;
        return simAddUnit(path, config);
    }
    static std::wstring wide(const std::string& s) { return {s.begin(), s.end()}; }
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string file = testing::TempDir() + "record-faults-" + name + ".jsonl";
    const std::string other = testing::TempDir() + "record-faults-" + name + ".other";
};

TEST_F(RecordFaults, ALineCutOffIsEndedAndTheNextRecordReadsWhole) {
    std::ofstream(file) << "{\"time\":\"2026-12-09T06:25:01.123Z\",\"port\":\"1-1\",\"dev";
    plug(L"/dev/hidraw1", L"1-1");
    const Ran r = runTerminal({L"update", L"--yes", L"--log", wide(file)});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u) << contentOf(file);
    EXPECT_FALSE(wholeRecord(lines[0])) << "the fragment stays as it was";
    EXPECT_TRUE(wholeRecord(lines[1])) << lines[1];
    EXPECT_TRUE(has(lines[1], "\"result\":\"updated\""));
    EXPECT_EQ(contentOf(file).back(), '\n');
}

TEST_F(RecordFaults, ALinkAFifoOrOneFileForBothIsRefusedBeforeAnyUnitIsTouched) {
    plug(L"/dev/hidraw1", L"1-1");
    std::ofstream(other) << "";
    ASSERT_EQ(symlink(other.c_str(), file.c_str()), 0);
    Ran r = runTerminal({L"update", L"--yes", L"--log", wide(file)});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "cannot open the station record '" + file +
                               "' for appending: it is a symbolic link. Try '--help'."))
        << r.err;
    r = runTerminal({L"update", L"--yes", L"--trace", wide(file)});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "cannot open the trace '" + file + "' for appending: it is a symbolic link"));
    EXPECT_EQ(contentOf(other), "") << "nothing written through the link";

    // A FIFO with no reader would hold the line at its start; a folder is no file either.
    std::remove(file.c_str());
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    r = runTerminal({L"update", L"--yes", L"--log", wide(file)});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "it is not a regular file")) << r.err;
    r = runTerminal({L"update", L"--yes", L"--log", wide(testing::TempDir())});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "it is not a regular file")) << r.err;

    // The same file by two names.
    std::remove(file.c_str());
    const std::string dotted = testing::TempDir() + "./record-faults-" + name + ".jsonl";
    r = runTerminal({L"update", L"--yes", L"--log", wide(file), L"--trace", wide(dotted)});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "the station record and the trace cannot be one file")) << r.err;
    EXPECT_EQ(contentOf(file), "") << "the trace wrote nothing into the record";
    EXPECT_TRUE(simTranscript().empty());
}

TEST_F(RecordFaults, AnEmptyValueIsAUsageErrorNotTheFirstUnitOrNoRecord) {
    plug(L"/dev/hidraw1", L"1-1");
    const std::vector<std::vector<std::wstring>> commands = {
        {L"update", L"--yes", L"--log", L""},
        {L"update", L"--yes", L"--log="},
        {L"update", L"--yes", L"--trace="},
        {L"update", L"--yes", L"--device", L""},
        {L"update", L"--each", L"--yes", L"--port", L""},
        {L"update", L"--yes", L"--wait="}};
    for (const std::vector<std::wstring>& args : commands) {
        const Ran r = runTerminal(args);
        EXPECT_EQ(r.status, kExitUsage) << utf8Lines(args[2]);
        EXPECT_TRUE(has(r.err, "needs a value that is not empty")) << r.err;
    }
    EXPECT_TRUE(simTranscript().empty());
}

// Control characters of an argument reach the terminal escaped, never as themselves.
TEST_F(RecordFaults, ControlCharactersOfAnArgumentAreShownEscaped) {
    const Ran r = runTerminal({L"update", L"--bogus\x1b]0;owned\x07"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "unknown option '--bogus\\x1b]0;owned\\x07'")) << r.err;
    EXPECT_FALSE(has(r.err, "\x1b"));
}

// The station run as its program is, in a child under a file-size limit: the record fills
// up while units are written.
struct LimitedRun {
    int status = -1; // the child's exit status; -1 when a signal ended it
    std::string out, err;
};

LimitedRun runUnderSizeLimit(rlim_t bytes, const std::vector<std::string>& args,
                             const std::string& outFile, int units) {
    const pid_t child = fork();
    if (child == 0) {
        simReset();
        simSetFirmwareImage(standInImage());
        for (int unit = 0; unit < units; ++unit) {
            SimUnitConfig config;
            config.port = L"1-2." + std::to_wstring(unit + 1);
            simAddUnit(L"/dev/hidraw" + std::to_wstring(unit), config);
        }
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        setenv("LANG", "C", 1);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open((outFile + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>("orca-75-lx-updater-cli")};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int status = runTerminalProgram(static_cast<int>(argv.size() - 1), argv.data());
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    LimitedRun ran;
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.out = contentOf(outFile);
    ran.err = contentOf(outFile + ".err");
    std::remove(outFile.c_str());
    std::remove((outFile + ".err").c_str());
    return ran;
}

// Room for two records (of some 850 bytes): the unit whose record failed still finishes and is told, no other
// starts, and the tally names the file and the reason.
TEST_F(RecordFaults, AFileSizeLimitStopsTheLineWithEveryRecordWhole) {
    const LimitedRun r = runUnderSizeLimit(
        2000, {"update", "--each", "--parallel=2", "--yes", "--count", "6", "--log", file},
        other, 6);
    EXPECT_EQ(r.status, kExitRecordFailed) << "not killed by SIGXFSZ\n" << r.out << r.err;
    const std::vector<std::string> lines = linesOf(file);
    EXPECT_GE(lines.size(), 2u);
    for (const std::string& line : lines)
        EXPECT_TRUE(wholeRecord(line)) << line << " of " << lines.size();
    EXPECT_TRUE(has(r.out, "updated"));
    EXPECT_FALSE(has(r.out, "Updated: 6")) << "no unit started after the record failed\n" << r.out;
    EXPECT_TRUE(has(r.out, "The station record '" + file +
                               "' could not be written (File too large): no further unit is "
                               "started.\n"))
        << r.out;
}

// Support's trace is not the station's record: one cut short by the limit is said at the
// end, and the unit's result and status stand.
TEST_F(RecordFaults, ATraceCutShortIsSaidAndChangesNoResult) {
    const LimitedRun r = runUnderSizeLimit(64 * 1024, {"update", "--yes", "--trace", file}, other, 1);
    EXPECT_EQ(r.status, kExitOk) << r.out << r.err;
    EXPECT_TRUE(has(r.err, "The trace could not be written whole.\n")) << r.err;
    for (const std::string& line : linesOf(file))
        EXPECT_EQ(line.back(), '}') << "every line of the trace whole: " << line;
}

} // namespace
