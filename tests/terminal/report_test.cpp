// report --log FILE…: records written by hand, as stations and a log shipper leave them:
// two stations, two days, a line shipped twice, a line cut off, a line of something else.
#include "session/text_encoding.h"
#include "terminal/record_reader.h"
#include "terminal/report.h"
#include "tests/terminal/in_process_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::string unit(const std::string& id, const std::string& station, const std::string& seen,
                 const std::string& time, const std::string& result, const std::string& port,
                 const std::string& codeLine = "", bool repeat = false) {
    return "{\"time\":\"" + time + "\",\"id\":\"" + id + "\",\"station\":\"" + station +
           "\",\"port\":\"" + port + "\",\"device\":\"/dev/hidraw1\",\"result\":\"" + result +
           "\",\"codeLine\":\"" + codeLine + "\",\"repeat\":" + (repeat ? "true" : "false") +
           ",\"seen\":\"" + seen + "\",\"durationMs\":46000}\n";
}

std::string unplugged(const std::string& id, const std::string& time) {
    return "{\"time\":\"" + time + "\",\"id\":\"" + id +
           "\",\"station\":\"x\",\"port\":\"1-1\",\"device\":\"/dev/hidraw1\",\"event\":\"unplugged\"}\n";
}

class Report : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string a = "bench-1/20261210T060000.000Z-7/";
        write(first, unit(a + "1", "bench-1", "2026-12-10T06:00:00.000Z", "2026-12-10T06:00:50.000Z",
                          "updated", "1-2.1") +
                         unplugged(a + "1", "2026-12-10T06:01:00.000Z") +
                         unit(a + "2", "bench-1", "2026-12-10T06:01:10.000Z",
                              "2026-12-10T06:01:20.000Z", "failed", "1-2.2",
                              "Code: 0x00000007-0x00000000") +
                         unplugged(a + "2", "2026-12-10T06:01:40.000Z") +
                         "not a record\n" +
                         unit(a + "3", "bench-1", "2026-12-10T06:02:00.000Z",
                              "2026-12-10T06:02:50.000Z", "updated", "1-2.2", "", true) +
                         unplugged(a + "3", "2026-12-10T06:04:00.000Z") +
                         unit(a + "4", "bench-1", "2026-12-10T06:05:00.000Z",
                              "2026-12-10T07:00:00.000Z", "skipped", "1-2.1"));
        // The central file: the first station's line 3 shipped twice (a resend after the
        // central store came back), another station, another day, and a line cut off.
        const std::string b = "bench-2/20261211T220000.000Z-9/";
        const std::string cut = unit(b + "2", "bench-2", "2026-12-11T22:30:00.000Z",
                                     "2026-12-11T22:31:00.000Z", "updated", "1-1");
        write(second, unit(a + "3", "bench-1", "2026-12-10T06:02:00.000Z",
                           "2026-12-10T06:02:50.000Z", "updated", "1-2.2", "", true) +
                          unit(b + "1", "bench-2", "2026-12-11T22:00:00.000Z",
                               "2026-12-11T22:00:46.000Z", "declined", "1-1") +
                          "\n" + cut.substr(0, cut.size() / 2));
    }
    void TearDown() override {
        std::remove(first.c_str());
        std::remove(second.c_str());
    }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    Ran report(std::vector<std::wstring> more = {}) {
        std::vector<std::wstring> args{L"report", L"--log", wide(first), wide(second)};
        args.insert(args.end(), more.begin(), more.end());
        return runTerminal(args);
    }
    static std::wstring wide(const std::string& s) { return {s.begin(), s.end()}; }
    // Files of each test's own, since ctest runs tests side by side.
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string first = testing::TempDir() + "report-first-" + name + ".jsonl";
    const std::string second = testing::TempDir() + "report-second-" + name + ".jsonl";
};

// Per station and day: 4 units of bench-1 in one hour (06:00:00 seen to 07:00:00 finished),
// a yield of 2 of 3 written or failed, cycles of 60 s, 30 s and 120 s; every failure; the
// line of something else and the line cut off counted, the resent line once.
TEST_F(Report, CountsYieldPaceCyclesAndFailuresPerStationAndDay) {
    const Ran r = report();
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Station bench-1, 2026-12-10\n"
                     "  Updated 2  failed 1  skipped 1  declined 0  changed 0\n"
                     "  Yield 66.7 %  4.0 units/h  median cycle 1:00\n"
                     "Station bench-2, 2026-12-11\n"
                     "  Updated 0  failed 0  skipped 0  declined 1  changed 0\n"
                     "  Yield -  78.3 units/h  median cycle -\n"
                     "Failures:\n"
                     "  bench-1  1-2.2  2026-12-10T06:01:20.000Z  Code: 0x00000007-0x00000000\n"
                     "Lines that could not be read: 2\n");
}

TEST_F(Report, AsJson) {
    const Ran r = report({L"--json"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out,
              "{\"type\":\"report\",\"days\":[{\"station\":\"bench-1\",\"day\":\"2026-12-10\","
              "\"updated\":2,\"failed\":1,\"skipped\":1,\"declined\":0,\"changed\":0,"
              "\"yieldPercent\":66.7,\"unitsPerHour\":4.0,\"medianCycleMs\":60000,\"cycles\":3},"
              "{\"station\":\"bench-2\",\"day\":\"2026-12-11\",\"updated\":0,\"failed\":0,"
              "\"skipped\":0,\"declined\":1,\"changed\":0,\"yieldPercent\":null,"
              "\"unitsPerHour\":78.3,\"medianCycleMs\":0,\"cycles\":0}],\"failures\":[{"
              "\"station\":\"bench-1\",\"port\":\"1-2.2\",\"device\":\"/dev/hidraw1\","
              "\"time\":\"2026-12-10T06:01:20.000Z\",\"codeLine\":\"Code: "
              "0x00000007-0x00000000\",\"repeat\":false}],\"unreadableLines\":2,"
              "\"duplicateLines\":1}\n");
}

// A file that cannot be read is said and makes the status a usage error; the others are
// reported all the same. No finished unit at all is said too, in German as well.
TEST_F(Report, AFileThatCannotBeReadIsSaidAndTheRestReported) {
    const Ran r = runTerminal({L"report", L"--log", L"/no such folder/x.jsonl", L"--log", wide(first)});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_EQ(r.err.rfind("cannot read the station record '/no such folder/x.jsonl': ", 0), 0u) << r.err;
    EXPECT_EQ(r.out.rfind("Station bench-1, 2026-12-10\n", 0), 0u) << r.out;

    write(first, "{\"time\":\"2026-12-10T06:00:00.000Z\",\"id\":\"a\",\"event\":\"unplugged\"}\n");
    EXPECT_EQ(runTerminal({L"report", L"--log", wide(first)}).out,
              "No finished unit in these records.\n");
    EXPECT_EQ(runTerminal({L"report"}).status, kExitUsage) << "report needs --log";
    EXPECT_EQ(runTerminal({L"update", L"--log", wide(first), wide(second)}).status, kExitUsage);
}

TEST(RecordLine, ReadsWhatTheRecordWritesAndNothingElse) {
    std::map<std::string, RecordValue> f;
    ASSERT_TRUE(readRecordLine("{\"a\":\"x\\\"\\u00e9\\ud83d\\ude00\\n\",\"n\":-12.5e3,\"t\":true,"
                               "\"z\":null} \r",
                               f));
    EXPECT_EQ(f["a"].text, "x\"\xc3\xa9\xf0\x9f\x98\x80\n");
    EXPECT_EQ(f["n"].text, "-12.5e3");
    EXPECT_TRUE(f["t"].flag);
    EXPECT_EQ(f["z"].kind, RecordValue::Null);
    for (const char* bad : {"", "{", "{\"a\":\"x}", "{\"a\":1,}", "{\"a\":{\"b\":1}}",
                            "{\"a\":\"\\ud83d\"}", "{\"a\":1} x", "[1]", "{\"a\":-}"})
        EXPECT_FALSE(readRecordLine(bad, f)) << bad;

    std::int64_t ms = 0;
    ASSERT_TRUE(parseUtcTimestamp("2024-02-29T23:59:59.999Z", ms));
    EXPECT_EQ(ms, 1709251199999);
    EXPECT_FALSE(parseUtcTimestamp("2024-13-01T00:00:00.000Z", ms));
    EXPECT_FALSE(parseUtcTimestamp("2024-02-29 23:59:59.999Z", ms));
}

// Records are UTF-8; what a station wrote comes back as it was, and bytes that are no
// UTF-8 (a line damaged on its way) as U+FFFD, never as other characters.
TEST(RecordLine, TextsComeBackFromUtf8) {
    EXPECT_EQ(textFromUtf8("Gr\xc3\xb6\xc3\x9f" "e"), L"Gr\u00f6\u00dfe");
    EXPECT_EQ(textFromUtf8("\xf0\x9f\x98\x80"), L"\U0001F600");
    EXPECT_EQ(textFromUtf8("a\xff" "b"), L"a\ufffdb");
    EXPECT_EQ(textFromUtf8("\xc3"), L"\ufffd") << "cut off";
    EXPECT_EQ(textFromUtf8("\xc0\x80"), L"\ufffd\ufffd") << "an overlong form";
    EXPECT_EQ(textFromUtf8("\xed\xa0\x80x"), L"\ufffdx") << "a surrogate";
    EXPECT_EQ(textFromUtf8("\xe2\x82" "x"), L"\ufffdx") << "a character cut short";
}

} // namespace
