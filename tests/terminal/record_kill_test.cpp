// A station killed outright while units are written (a power cut, as far as the program can
// tell): every result it had printed is in the record, and every line there is whole.
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "terminal/terminal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Standard output straight into a pipe, a line at a time, as a terminal or a script gets it.
class PipeOutput : public std::stringbuf {
  public:
    explicit PipeOutput(int fd) : fd_(fd) {}

  protected:
    int sync() override {
        const std::string text = str();
        str({});
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = write(fd_, text.data() + done, text.size() - done);
            if (n <= 0)
                return -1;
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }

  private:
    int fd_;
};

[[noreturn]] void station(int outFd, const std::string& file) {
    simReset();
    simSetFirmwareImage(standInImage());
    for (int unit = 0; unit < 6; ++unit) {
        SimUnitConfig config;
        config.port = L"1-2." + std::to_wstring(unit + 1);
        simAddUnit(L"/dev/hidraw" + std::to_wstring(unit), config);
    }
    PipeOutput pipe(outFd);
    std::ostream out(&pipe);
    std::ostringstream err;
    std::istringstream in;
    TerminalSetup setup;
    setup.in = &in;
    setup.out = &out;
    setup.err = &err;
    setup.idle = [] {};
    terminalMain({L"update", L"--each", L"--parallel=2", L"--yes", L"--count", L"6", L"--json",
                  L"--log", std::wstring(file.begin(), file.end())},
                 setup);
    _exit(0);
}

TEST(StationKilled, EveryResultPrintedIsInTheRecordWhole) {
    const std::string file = testing::TempDir() + "station-killed.jsonl";
    std::remove(file.c_str());
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        station(fds[1], file);
    }
    close(fds[1]);
    // Killed as soon as the third result is printed, while the others are being written.
    std::string printed, partial;
    int results = 0;
    char buffer[4096];
    ssize_t n;
    while (results < 3 && (n = read(fds[0], buffer, sizeof buffer)) > 0) {
        partial.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = partial.find('\n')) != std::string::npos;) {
            const std::string line = partial.substr(0, end);
            partial.erase(0, end + 1);
            printed += line + "\n";
            results += line.rfind("{\"type\":\"result\"", 0) == 0;
        }
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(fds[0]);
    EXPECT_TRUE(WIFSIGNALED(status)) << "it was still writing";
    ASSERT_EQ(results, 3);

    std::ifstream record(file);
    std::string all, line;
    int lines = 0;
    while (std::getline(record, line)) {
        ++lines;
        EXPECT_EQ(line.rfind("{\"time\":\"", 0), 0u) << line;
        EXPECT_EQ(line.back(), '}') << "whole: " << line;
        all += line + "\n";
    }
    EXPECT_GE(lines, 3);
    std::istringstream told(printed);
    while (std::getline(told, line)) {
        if (line.rfind("{\"type\":\"result\"", 0) != 0)
            continue;
        const std::size_t at = line.find("\"device\":\"");
        const std::string device = line.substr(at, line.find('"', at + 10) + 1 - at);
        EXPECT_NE(all.find(device), std::string::npos) << device << " was told but not recorded";
    }
    std::remove(file.c_str());
}

} // namespace
