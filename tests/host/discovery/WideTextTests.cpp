#include "discovery/VersionFileSteps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WideToAnsiTest, ReturnsTheNarrowLengthAndConvertsTheNul) {
    char narrow[8];
    std::fill(std::begin(narrow), std::end(narrow), '#');
    // In UTF-8, the code page the program runs in.
    EXPECT_EQ(WideToAnsi(u"1.1\u00E9", narrow, sizeof narrow), 5);
    EXPECT_EQ(std::string(narrow, 6), std::string("1.1\xC3\xA9\0", 6));
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

TEST(AnsiFromUtf16BytesTest, TextEndsAtTheFirstNulUnit) {
    const std::string bytes("a\0b\0\0\0c\0", 8);
    EXPECT_EQ(TextIn(AnsiFromUtf16Bytes(bytes.data(), bytes.size())), "ab");
}

TEST(AnsiFromUtf16BytesTest, TextOfCharactersWiderThanOneByteConvertsWhole) {
    // Three bytes a unit in UTF-8: a buffer of one byte a unit would make the conversion fail.
    std::string bytes;
    for (int i = 0; i < 100; ++i) {
        bytes += std::string("\x2D\x4E", 2); // U+4E2D
    }
    bytes += std::string("Q\0t\0x\0", 6);
    const std::vector<char> text = AnsiFromUtf16Bytes(bytes.data(), bytes.size());
    const std::string_view converted = TextIn(text);
    ASSERT_EQ(converted.size(), 303u);
    EXPECT_EQ(converted.substr(0, 3), "\xE4\xB8\xAD");
    EXPECT_EQ(converted.substr(300), "Qtx");
    // An odd last byte is a unit of its own, and three bytes a unit still leave room for the NUL.
    const std::string odd("\x2D\x4E\x2D", 3);
    EXPECT_EQ(TextIn(AnsiFromUtf16Bytes(odd.data(), odd.size())), "\xE4\xB8\xAD"
                                                                  "-");
}

TEST(TextInTest, StopsAtTheBufferEndWithoutANul) {
    const std::vector<char> unterminated = {'a', 'b', 'c'};
    EXPECT_EQ(TextIn(unterminated), "abc");
    EXPECT_EQ(TextIn({}), "");
}

} // namespace
