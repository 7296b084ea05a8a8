// The station record: each finished unit a whole JSON line on the disk before its result is
// told; a record that cannot be opened stops the line before it starts, one that cannot be
// written stops it from starting more.
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "terminal/station_record.h"
#include "tests/terminal/file_lines.h"
#include "tests/terminal/in_process_run.h"
#include "unitlink/unit_connection.h"

#include "update/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class StationRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        simReset();
        simSetFirmwareImage(standInImage());
        std::remove(file.c_str());
    }
    void TearDown() override { std::remove(file.c_str()); }
    Ran run(std::vector<std::wstring> args) { return runTerminal(args); }
    static int plug(const wchar_t* path, const wchar_t* port, std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.port = port;
        config.escFirmwareVersion = installed;
        return simAddUnit(path, config);
    }
    // One file per test, since ctest runs tests side by side.
    const std::string file = testing::TempDir() + "station-record-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".jsonl";
    const std::wstring wideFile{file.begin(), file.end()};
};

TEST(StationTime, UtcWithMillisecondsAcrossALeapDay) {
    using namespace std::chrono;
    EXPECT_EQ(utcTimestamp(system_clock::time_point(milliseconds(1796797501123))),
              "2026-12-09T06:25:01.123Z");
    EXPECT_EQ(utcTimestamp(system_clock::time_point(milliseconds(1709251199999))),
              "2024-02-29T23:59:59.999Z");
    EXPECT_EQ(utcTimestamp(system_clock::time_point(milliseconds(0))), "1970-01-01T00:00:00.000Z");
}

TEST_F(StationRecord, EachFinishedUnitIsOneLineWithWhatItWasAndHowItEnded) {
    plug(L"/dev/hidraw1", L"1-2.1");
    const int failing = plug(L"/dev/hidraw2", L"1-2.2");
    simAddFault(failing, {SimFaultKind::StatusError, ERASE, 1, 7});
    plug(L"/dev/hidraw3", L"1-2.3", 0x0300);
    const Ran r = run({L"update", L"--all", L"--yes", L"--log", wideFile});
    EXPECT_EQ(r.status, kExitFailed);
    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 3u);
    std::string all;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("{\"time\":\"20", 0), 0u) << line;
        EXPECT_EQ(line.back(), '}');
        all += line + "\n";
    }
    EXPECT_TRUE(has(all, "\"port\":\"1-2.1\",\"device\":\"/dev/hidraw1\",\"product\":\"DOCK-BOX\","
                         "\"unit\":\"2.3\",\"bootloader\":\"1.5\",\"controller\":\"2.5\","
                         "\"result\":\"updated\",\"codeLine\":\"\",\"repeat\":false,\"seen\":"));
    EXPECT_TRUE(has(all, "\"device\":\"/dev/hidraw2\",\"product\":\"DOCK-BOX\",\"unit\":\"2.3\","
                         "\"bootloader\":\"1.5\",\"controller\":\"2.5\",\"result\":\"failed\","
                         "\"codeLine\":\"The system shows following errorcode: "
                         "0x00000007-0x00000000\""));
    EXPECT_TRUE(has(all, "\"controller\":\"3.0\",\"result\":\"skipped\""));
    // Which image each controller got, or would have got.
    const std::vector<std::uint8_t> image = standInImage();
    const std::string written = ",\"imageVersion\":\"3.0\",\"imageSize\":97792,\"imageSha256\":\"" +
                                sha256Hex(image.data(), image.size()) + "\",\"identityWord\":";
    for (const std::string& line : lines)
        EXPECT_TRUE(has(line, written)) << line;

    // Appended to, never rewritten.
    simReset();
    simSetFirmwareImage(standInImage());
    plug(L"/dev/hidraw4", L"1-3");
    EXPECT_EQ(run({L"update", L"--yes", L"--log=" + wideFile}).status, kExitOk);
    const std::vector<std::string> more = linesOf(file);
    ASSERT_EQ(more.size(), 4u);
    EXPECT_TRUE(has(more[3], "\"port\":\"1-3\",\"device\":\"/dev/hidraw4\"")) << more[3];
}

// A unit pulled during its blocks leaves its controller erased; plugged in again, the line
// writes it with --yes alone (no same-or-newer question for "no valid version"), and the
// record holds the failure, then the success.
TEST_F(StationRecord, AControllerLeftErasedIsWrittenWithYesAlone) {
    SimUnitConfig current;
    current.port = L"1-2.1";
    current.escFirmwareVersion = 0x0300;
    const int unit = simAddUnit(L"/dev/hidraw1", current);
    simAddFault(unit, {SimFaultKind::Unplug, WRITE_BLOCK, 1019});
    Ran r = run({L"update", L"--each", L"--yes", L"--force", L"--count", L"1", L"--log", wideFile});
    EXPECT_EQ(r.status, kExitFailed);

    const int again = simReplugUnit(unit);
    r = run({L"update", L"--each", L"--yes", L"--count", L"1", L"--log", wideFile});
    EXPECT_EQ(r.status, kExitOk) << r.out;
    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(has(lines[0], "\"controller\":\"3.0\",\"result\":\"failed\"")) << lines[0];
    EXPECT_TRUE(has(lines[1], "\"controller\":\"----------\",\"result\":\"updated\"")) << lines[1];
    const std::vector<std::uint8_t> image = standInImage();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(again).begin()));
}

// Who wrote the line and who the unit and its controller are, as the unit answered: its
// identity word, the controller's information block with its firmware version, and the
// bootloader's block with its type and version; ids one after another, unique to the run.
TEST_F(StationRecord, EachLineNamesItsWriterAndTheControllerAsItWasRead) {
    SimUnitConfig config;
    config.port = L"1-2.1";
    config.unitIdentityWord = 0x11223344;
    config.controllerSerial = 0xCAFEF00D;
    simAddUnit(L"/dev/hidraw1", config);
    config.port = L"1-2.2";
    config.controllerSerial = 0x0BEEF001;
    simAddUnit(L"/dev/hidraw2", config);
    const Ran r = run({L"update", L"--all", L"--yes", L"--station", L"Bench 7", L"--log", wideFile});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u);
    const std::string writer = "\"station\":\"Bench 7\",\"host\":\"\",\"program\":"
                               "\"orca-75-lx-updater-cli\",\"programVersion\":\"";
    std::vector<std::string> ids;
    for (const std::string& line : lines) {
        EXPECT_TRUE(has(line, writer)) << line;
        const std::size_t at = line.find("\"id\":\"") + 6;
        ids.push_back(line.substr(at, line.find('"', at) - at));
        EXPECT_TRUE(has(line, "\"identityWord\":\"11223344\",\"bootIdentity\":\""
                              "000000000000000000000000\""))
            << "the unit ran its application: no boot identity";
        EXPECT_TRUE(has(line, "\"bootInfo\":\"5a602214050100005859"
                              "5a5b5c5d5e5f606162636465666768696a6b6c6d6e6f7071727374757677\"}"))
            << line;
    }
    // The controller's block as read: its firmware 2.5 at bytes 4-5, its serial at 16-19.
    const std::string controllerInfo = "\"controllerInfo\":\"a0a1a2a30502a6a7a8a9aaabacadaeaf";
    EXPECT_TRUE(has(lines[0] + lines[1], controllerInfo + "0df0fecab4b5b6b7b8b9babbbcbdbebf\""));
    EXPECT_TRUE(has(lines[0] + lines[1], controllerInfo + "01f0ee0bb4b5b6b7b8b9babbbcbdbebf\""));
    // Bench 7/<start>-<process>/<n>
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i].rfind("Bench 7/20", 0), 0u) << ids[i];
        EXPECT_EQ(ids[i].substr(ids[i].size() - 4), "-0/" + std::to_string(i + 1)) << ids[i];
        EXPECT_EQ(ids[i].find_first_of(":-", 10), ids[i].size() - 4) << "a compact start";
    }
    // Seen, then started, then finished.
    for (const std::string& line : lines) {
        auto field = [&](const char* name) {
            const std::size_t at = line.find(std::string("\"") + name + "\":\"") + std::strlen(name) + 4;
            return line.substr(at, 24);
        };
        EXPECT_LE(field("seen"), field("started"));
        EXPECT_LE(field("started"), field("time"));
    }
}

// One at a time, a unit plugged in while another is written waits; its cycle begins when
// it was seen, not when its turn came.
TEST_F(StationRecord, AUnitThatWaitsForItsTurnWasSeenWhenPluggedIn) {
    plug(L"/dev/hidraw1", L"1-2.1");
    plug(L"/dev/hidraw2", L"1-2.2");
    EXPECT_EQ(run({L"update", L"--each", L"--yes", L"--count", L"2", L"--log", wideFile}).status,
              kExitOk);
    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u);
    auto field = [](const std::string& line, const std::string& name) {
        const std::size_t at = line.find("\"" + name + "\":\"") + name.size() + 4;
        return line.substr(at, 24);
    };
    EXPECT_LT(field(lines[1], "seen"), field(lines[0], "time"));
    EXPECT_GE(field(lines[1], "started"), field(lines[0], "time"));
}

TEST_F(StationRecord, ARecordThatCannotBeOpenedIsAUsageErrorBeforeAnyUnitIsTouched) {
    plug(L"/dev/hidraw1", L"1-1");
    const Ran r = run({L"update", L"--each", L"--yes", L"--log", L"/no such folder/record.jsonl"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_TRUE(has(r.err, "cannot open the station record '/no such folder/record.jsonl' for "
                           "appending: "));
    EXPECT_TRUE(has(r.err, "Try '--help'."));
    EXPECT_TRUE(simTranscript().empty());
}

} // namespace
