// Support's trace: every report as it went and came, every wait as asked and as it lasted,
// and each unit's result, one JSON line each naming the unit's port, as a command and a line
// leave it in the file.
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "tests/terminal/file_lines.h"
#include "tests/terminal/in_process_run.h"
#include "unitlink/unit_connection.h"

#include "update/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// A field's value, its quotes taken off; empty when the line has none. The trace writes
// no nested objects and no escapes in these fields.
std::string field(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const std::size_t at = line.find(key);
    if (at == std::string::npos)
        return {};
    std::size_t from = at + key.size();
    if (line[from] == '"') {
        ++from;
        return line.substr(from, line.find('"', from) - from);
    }
    return line.substr(from, line.find_first_of(",}", from) - from);
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char two[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        text += two;
    }
    return text;
}

class Trace : public ::testing::Test {
  protected:
    void SetUp() override {
        simReset();
        simSetFirmwareImage(standInImage());
        std::remove(file.c_str());
    }
    void TearDown() override { std::remove(file.c_str()); }
    int run(std::vector<std::wstring> args, std::string* errText = nullptr) {
        const Ran ran = runTerminal(args);
        if (errText != nullptr)
            *errText = ran.err;
        return ran.status;
    }
    static int plug(const wchar_t* path, const wchar_t* port) {
        SimUnitConfig config;
        config.port = port;
        return simAddUnit(path, config);
    }
    // The trace's lines of one port, the first (the trace's start) left out.
    std::vector<std::string> linesOn(const std::string& port) {
        std::vector<std::string> own;
        for (const std::string& line : linesOf(file))
            if (field(line, "port") == port)
                own.push_back(line);
        return own;
    }
    const std::string file = testing::TempDir() + "trace-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".jsonl";
    const std::wstring wideFile{file.begin(), file.end()};
};

TEST_F(Trace, AWholeUpdateIsEveryReportAndWaitInOrderAndItsResult) {
    const int unit = plug(L"/dev/hidraw4", L"1-3");
    ASSERT_EQ(run({L"update", L"--yes", L"--trace", wideFile}), kExitOk);

    const std::vector<std::string> all = linesOf(file);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].rfind("{\"us\":0,\"time\":\"20", 0), 0u) << all[0];
    EXPECT_EQ(field(all[0], "program").rfind("orca-75-lx-updater-cli ", 0), 0u);
    const std::vector<std::uint8_t> image = standInImage();
    EXPECT_EQ(field(all[0], "imageSha256"), sha256Hex(image.data(), image.size()));
    EXPECT_EQ(field(all[0], "imageSize"), "97792");
    EXPECT_EQ(field(all[0], "imageVersion"), "3.0");

    std::vector<std::string> sent, received, waits;
    long long last = 0;
    for (const std::string& line : linesOn("1-3")) {
        EXPECT_EQ(field(line, "device"), "/dev/hidraw4");
        const long long us = std::stoll(field(line, "us"));
        EXPECT_GE(us, last) << line;
        last = us;
        if (!field(line, "sent").empty())
            sent.push_back(field(line, "sent"));
        if (!field(line, "received").empty())
            received.push_back(field(line, "received"));
        if (!field(line, "waitAskedMs").empty()) {
            waits.push_back(field(line, "waitAskedMs"));
            EXPECT_GE(std::stoll(field(line, "waitMeasuredUs")),
                      std::stoll(waits.back()) * 1000) << "a wait ended early: " << line;
        }
    }
    std::vector<std::string> requests, answers;
    for (const SimExchange& e : simTranscript()) {
        ASSERT_EQ(e.device, unit);
        requests.push_back(hex(e.request));
        answers.push_back(hex(e.answer));
    }
    EXPECT_EQ(sent, requests);
    EXPECT_EQ(received, answers);

    // Lock, write protection off, erase's answer delay, the erase, the address, every
    // block; the switches after the last block are not waited for.
    ASSERT_EQ(waits.size(), 4u + 2u + 2038u);
    EXPECT_EQ(std::vector<std::string>(waits.begin(), waits.begin() + 6),
              (std::vector<std::string>{"20", "20", "1000", "4000", "20", "20"}));
    EXPECT_EQ(field(linesOn("1-3").back(), "result"), "updated");
}

// The failing read shows the system's error, and the failure is still reported with that
// error: tracing leaves the code line as it would be without.
TEST_F(Trace, AFailedReadIsTracedWithItsErrorAndTheFailureKeepsItsCodes) {
    const int unit = plug(L"/dev/hidraw1", L"1-1");
    SimFault fault{SimFaultKind::ReadFails, WRITE_BLOCK, 5};
    fault.lastError = 1167;
    simAddFault(unit, fault);
    ASSERT_EQ(run({L"update", L"--yes", L"--trace", wideFile}), kExitFailed);

    const std::vector<std::string> own = linesOn("1-1");
    ASSERT_GE(own.size(), 2u);
    const std::string& notReceived = own[own.size() - 2];
    EXPECT_EQ(field(notReceived, "notReceived"), "true") << notReceived;
    EXPECT_EQ(field(notReceived, "error"), "1167");
    EXPECT_EQ(field(own.back(), "result"), "failed");
    EXPECT_EQ(field(own.back(), "codeLine"),
              "The system shows following errorcode: 0xfffffffd-0x0000048f");
}

// Two units on one hub written at once: each line whole, each unit's reports under its own
// port and in its own order.
TEST_F(Trace, UnitsWrittenAtOnceEachKeepTheirOwnLines) {
    const int first = plug(L"/dev/hidraw1", L"1-2.1");
    const int second = plug(L"/dev/hidraw2", L"1-2.2");
    ASSERT_EQ(run({L"update", L"--all", L"--yes", L"--trace", wideFile}), kExitOk);

    std::map<int, std::vector<std::string>> requests;
    for (const SimExchange& e : simTranscript())
        requests[e.device].push_back(hex(e.request));
    const std::pair<int, const char*> units[] = {{first, "1-2.1"}, {second, "1-2.2"}};
    for (const auto& unit : units) {
        std::vector<std::string> sent;
        for (const std::string& line : linesOn(unit.second)) {
            EXPECT_EQ(line.front(), '{');
            EXPECT_EQ(line.back(), '}');
            if (!field(line, "sent").empty())
                sent.push_back(field(line, "sent"));
        }
        EXPECT_EQ(sent, requests[unit.first]) << unit.second;
        EXPECT_EQ(field(linesOn(unit.second).back(), "result"), "updated");
    }
}

TEST_F(Trace, ATraceThatCannotBeOpenedIsAUsageErrorBeforeAnyUnitIsTouched) {
    plug(L"/dev/hidraw1", L"1-1");
    std::string err;
    EXPECT_EQ(run({L"update", L"--yes", L"--trace", L"/no such folder/trace.jsonl"}, &err),
              kExitUsage);
    EXPECT_NE(err.find("cannot open the trace '/no such folder/trace.jsonl' for appending: "),
              std::string::npos)
        << err;
    EXPECT_TRUE(simTranscript().empty());
}

} // namespace
