#include "discovery/WideText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WideToAnsiTest, ReturnsTheNarrowLengthAndConvertsTheNul) {
    char narrow[8];
    std::fill(std::begin(narrow), std::end(narrow), '#');
    EXPECT_EQ(WideToAnsi(u"1.1\u00E9", narrow, sizeof narrow), 4);
    EXPECT_EQ(std::string(narrow, 5), std::string("1.1\xE9\0", 5));
}

TEST(WideToAnsiTest, FailsWithinTheCapacityWhenTheTextDoesNotFit) {
    char narrow[8];
    std::fill(std::begin(narrow), std::end(narrow), '#');
    EXPECT_EQ(WideToAnsi(u"Qtx Labs", narrow, 4), -1);
    EXPECT_EQ(narrow[4], '#');
    // No room at all is a failure too, not the system's question for the size needed.
    std::fill(std::begin(narrow), std::end(narrow), '#');
    EXPECT_EQ(WideToAnsi(u"Qtx Labs", narrow, 0), -1);
    EXPECT_EQ(WideToAnsi(u"", narrow, 0), -1);
    EXPECT_EQ(narrow[0], '#');
}

TEST(AnsiFromUtf16BytesTest, BufferIsLengthPlusOneAndTextEndsAtTheFirstNulUnit) {
    const std::string bytes("a\0b\0\0\0c\0", 8);
    const std::vector<char> text = AnsiFromUtf16Bytes(bytes.data(), bytes.size());
    EXPECT_EQ(text.size(), 9u);
    EXPECT_EQ(TextIn(text), "ab");
}

TEST(TextInTest, StopsAtTheBufferEndWithoutANul) {
    const std::vector<char> unterminated = {'a', 'b', 'c'};
    EXPECT_EQ(TextIn(unterminated), "abc");
    EXPECT_EQ(TextIn({}), "");
}

} // namespace
