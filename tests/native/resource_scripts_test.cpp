// The resource scripts as the build reads them for the platforms without Windows'
// resource lookup: a line it does not understand inside a string table stops the build.
#include "resources/generate/rc_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

// A file of the test's own: ctest runs the cases as processes side by side.
std::string scriptWith(const std::string& body) {
    const std::string path = ::testing::TempDir() +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".rc";
    std::ofstream(path) << "// a comment\nSTRINGTABLE\nBEGIN\n" << body << "END\n";
    return path;
}

TEST(ResourceScripts, StringTableEntriesAndTheirQuotes) {
    const auto texts = rcStrings(scriptWith("    IDS_A \"one\"\n\n    // aside\n"
                                            "    IDS_B \"say \"\"hi\"\"\\r\\n\"\n"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts.at("IDS_A"), "one");
    EXPECT_EQ(texts.at("IDS_B"), "say \"\"hi\"\"\\r\\n");
    EXPECT_EQ(wideLiteral(texts.at("IDS_B")), "L\"say \\\"hi\\\"\\r\\n\"");
}

TEST(ResourceScripts, ALineNotUnderstoodInATableIsRefused) {
    for (const char* body : {"    IDS_A \"one\" // trailing\n", "    IDS_A one\n",
                             "    IDS_A \"one\"\n    IDS_A \"again\"\n", "    IDS_A \"a\" \"b\"\n",
                             "    ids_a \"lower case\"\n"})
        EXPECT_THROW(rcStrings(scriptWith(body)), std::runtime_error) << body;
}

} // namespace
