#include "ui/IconPlacement.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

TEST(CentredIconTest, CentresWithHalvesRoundedUpAndTruncatesTowardZeroInASmallClient) {
    const struct {
        platform::Rect client;
        int iconWidth, iconHeight, x, y;
    } cases[] = {
        {{0, 0, 203, 157}, 32, 32, 86, 63},   {{0, 0, 200, 100}, 32, 16, 84, 42},
        {{0, 0, 20, 10}, 32, 32, -5, -10}, // not floored to -6, -11
        {{0, 0, 0, 0}, 32, 32, -15, -15},  // a minimised window's client under Wine
        {{10, 20, 213, 177}, 32, 32, 86, 63},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const IconOrigin at = CentredIcon(c.client, c.iconWidth, c.iconHeight);
        EXPECT_EQ(at.x, c.x) << i;
        EXPECT_EQ(at.y, c.y) << i;
    }
}

} // namespace
