#include "ui/LogoScale.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

namespace {

TEST(LogoBitmapForDpiTest, TakesTheLargestScaleNotAboveTheDpi) {
    const struct {
        unsigned dpi;
        int bitmap;
    } cases[] = {
        {0, IDB_LOGO},       {72, IDB_LOGO},      {96, IDB_LOGO},      {119, IDB_LOGO},
        {120, IDB_LOGO_125}, {143, IDB_LOGO_125}, {144, IDB_LOGO_150}, {168, IDB_LOGO_150},
        {191, IDB_LOGO_150}, {192, IDB_LOGO_200}, {288, IDB_LOGO_200}, {480, IDB_LOGO_200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogoBitmapForDpi(c.dpi), c.bitmap) << c.dpi << " DPI";
    }
}

} // namespace
