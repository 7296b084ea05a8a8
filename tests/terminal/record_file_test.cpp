// The record's file on each system: a line cut off at its end is ended before the next,
// and one file is one file by whatever name it is given.
#include "terminal/record_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

class RecordFileTest : public ::testing::Test {
  protected:
    void SetUp() override { std::remove(file.c_str()); }
    void TearDown() override { std::remove(file.c_str()); }
    std::string content() const {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    const std::string file = testing::TempDir() + "record-file-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::wstring wide{file.begin(), file.end()};
};

TEST_F(RecordFileTest, ALineCutOffIsEndedOnceBeforeTheNext) {
    std::ofstream(file, std::ios::binary) << "{\"a\":1}\n{\"cut";
    RecordFile record;
    std::wstring reason;
    ASSERT_EQ(record.open(wide, reason), FileOpening::Opened) << reason.size();
    EXPECT_TRUE(record.append("{\"b\":2}\n"));
    EXPECT_TRUE(record.append("{\"c\":3}\n"));
    EXPECT_EQ(content(), "{\"a\":1}\n{\"cut\n{\"b\":2}\n{\"c\":3}\n");
}

TEST_F(RecordFileTest, AWholeOrEmptyFileIsAppendedAsItIs) {
    {
        RecordFile record;
        std::wstring reason;
        ASSERT_EQ(record.open(wide, reason), FileOpening::Opened);
        EXPECT_TRUE(record.append("{\"a\":1}\n"));
    }
    RecordFile again;
    std::wstring reason;
    ASSERT_EQ(again.open(wide, reason), FileOpening::Opened);
    EXPECT_TRUE(again.append("{\"b\":2}\n"));
    EXPECT_EQ(content(), "{\"a\":1}\n{\"b\":2}\n");
}

TEST_F(RecordFileTest, OneFileByTwoNamesIsTheSame) {
    RecordFile one, two, other;
    std::wstring reason;
    const std::string otherFile = file + ".other";
    ASSERT_EQ(one.open(wide, reason), FileOpening::Opened);
    const std::string dotted = testing::TempDir() + "./record-file-OneFileByTwoNamesIsTheSame";
    ASSERT_EQ(two.open(std::wstring(dotted.begin(), dotted.end()), reason), FileOpening::Opened);
    ASSERT_EQ(other.open(std::wstring(otherFile.begin(), otherFile.end()), reason),
              FileOpening::Opened);
    EXPECT_TRUE(one.sameFileAs(two));
    EXPECT_FALSE(one.sameFileAs(other));
    RecordFile closed;
    EXPECT_FALSE(closed.sameFileAs(one));
    std::remove(otherFile.c_str());
}

} // namespace
