#include "discovery/VersionPolicy.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ImagePairForLineTest, LeadingDigitPicksThePairOfItsLine) {
    const std::array<ImagePair, 3> pairs = {ImagePair{"img1.rom", "1.1.6E"}, ImagePair{"img2.rom", "2.0.2E"},
                                            ImagePair{"img3.rom", "3.0.1E"}};
    for (const char line : {'1', '2', '3'}) {
        const auto pair = ImagePairForLine(pairs, std::string(1, line) + ".0.0E");
        ASSERT_TRUE(pair.has_value()) << line;
        EXPECT_EQ(pair->imagePath, "img" + std::string(1, line) + ".rom");
    }
    for (const char* other : {"0.9.9E", "4.0.0E", "E", ""}) {
        EXPECT_FALSE(ImagePairForLine(pairs, other).has_value()) << '"' << other << '"';
    }
}

} // namespace
