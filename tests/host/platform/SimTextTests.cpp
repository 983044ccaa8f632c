#include "platform/Errors.h"
#include "platform/LastError.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SimTextTest, ConvertsToWindows1252WithQuestionMarksForTheRest) {
    const char16_t wide[] = {u'Q', 0x00E9, 0x20AC, 0x0153, 0x4E2D, 0xD83D, 0xDE00, 0x0081, 0};
    char narrow[16] = {};
    const int written = platform::WideCharToMultiByte(wide, 9, narrow, sizeof narrow);
    EXPECT_EQ(written, 9);
    EXPECT_EQ(std::string(narrow, 9), std::string("Q\xE9\x80\x9C???\x81\0", 9));
}

TEST(SimTextTest, TooSmallABufferFailsWithoutWritingPastIt) {
    const char16_t wide[] = u"Qtx Labs";
    char narrow[6] = {'#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 9, narrow, 4), 0);
    EXPECT_EQ(platform::GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(narrow[4], '#');
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 9, nullptr, 0), 9) << "capacity 0 asks for the size";
}

TEST(SimTextTest, WideLengthStopsAtTheFirstNul) {
    const char16_t wide[] = {u'a', u'b', 0, u'c', 0};
    EXPECT_EQ(platform::wcslen(wide), 2u);
}

} // namespace
