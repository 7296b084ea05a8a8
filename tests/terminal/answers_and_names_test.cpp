// Answers read from standard input, however long the line, and names as the system gives
// them, however they are spelled.
#include "terminal/answer_reader.h"
#include "terminal/shown_text.h"
#include "terminal/options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string answerOf(AnswerReader& reader) {
    reader.request();
    std::string answer;
    while (!reader.take(answer))
        std::this_thread::yield();
    return answer;
}

// Input that never ends and never breaks its line, as `cat /dev/zero` piped in.
class EndlessInput : public std::streambuf {
  protected:
    int_type underflow() override {
        setg(zeros_, zeros_, zeros_ + sizeof zeros_);
        return 0;
    }

  private:
    char zeros_[4096] = {};
};

TEST(Answers, ALineTooLongIsNoAndItsRestNoAnswer) {
    // Its end ("y") must not pass for the next answer.
    std::istringstream in(std::string(300, 'x') + "y\nyes\n" + std::string(kLongestAnswer, 'y') + "\n");
    AnswerReader reader(in);
    EXPECT_EQ(answerOf(reader), "");
    EXPECT_EQ(answerOf(reader), "yes");
    EXPECT_EQ(answerOf(reader), std::string(kLongestAnswer, 'y')) << "the longest taken whole";
    EXPECT_FALSE(reader.ended());
    EXPECT_EQ(answerOf(reader), "");
    EXPECT_TRUE(reader.ended());
}

TEST(Answers, EndlessInputIsNoAtEveryQuestion) {
    EndlessInput zeros;
    std::istream in(&zeros);
    AnswerReader reader(in);
    for (int question = 0; question < 3; ++question)
        EXPECT_FALSE(isYes(answerOf(reader), Language::English));
}

TEST(Answers, ALastLineWithoutItsEndIsAnswer) {
    std::istringstream in("j");
    AnswerReader reader(in);
    EXPECT_TRUE(isYes(answerOf(reader), Language::German));
    EXPECT_TRUE(reader.ended());
}

// A live line as wide as the console, never ending inside a character.
TEST(LiveLine, IsCutBetweenCharacters) {
    const std::string line = "1-2.1  Größe  \xe2\x82\xac";
    EXPECT_EQ(firstColumns(line, 9), "1-2.1  Gr");
    EXPECT_EQ(firstColumns(line, 10), "1-2.1  Grö");
    EXPECT_EQ(firstColumns(line, 14), "1-2.1  Größe  ");
    EXPECT_EQ(firstColumns(line, 15), line);
    EXPECT_EQ(firstColumns(line, 99), line);
}

} // namespace
