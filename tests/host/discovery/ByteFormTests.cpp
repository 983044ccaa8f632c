// The parsers of the player's and the registry's bytes, without any file or key.
#include "discovery/DeviceId.h"
#include "discovery/VendorMarker.h"
#include "discovery/VersionFileSteps.h"
#include "tests/common/Utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VersionTextTest, ShortAndWideFormsFromTheirBytes) {
    EXPECT_EQ(ShortVersionText(std::string("1.1\0.5E\r\n", 9)), "1.1.5E\r\n");
    const DeviceText wide = WideDeviceText(Utf16("<firmver>2.0.1E<") + "x");
    EXPECT_EQ(wide.size(), 3u * 17 + 1)
        << "three bytes for each of the 17 units, the odd last byte one, and a NUL";
    EXPECT_EQ(TextIn(wide), "<firmver>2.0.1E<x");
}

TEST(DeviceIdTest, ComparesFortyTwoCharactersIgnoringCaseWithShortDataAsNul) {
    const std::string pattern(hardwareIdPatterns[1]);
    EXPECT_TRUE(MatchesHardwareId("usbstor\\disk&ven_quorvex&prod_tolvo_r520&rev_1.00\\X&0", pattern));
    EXPECT_TRUE(MatchesHardwareId(pattern, pattern)) << "exactly 42 characters";
    EXPECT_FALSE(MatchesHardwareId(pattern.substr(0, 41), pattern)) << "41: the missing one counts as NUL";
    EXPECT_FALSE(MatchesHardwareId("", pattern));
    std::string withNul = pattern;
    withNul[10] = '\0';
    EXPECT_FALSE(MatchesHardwareId(withNul, pattern));
    // Folding is ASCII only: '_' and DEL-range bytes are not letters.
    std::string folded = pattern;
    folded[16] = '\x7F';
    EXPECT_FALSE(MatchesHardwareId(folded, pattern));
}

TEST(VendorMarkerTest, MarkerInTheBytesReadAsUtf16) {
    const std::string marker = Utf16("Qtx Labs");
    const struct {
        const char* name;
        std::string bytes;
        bool expected;
    } cases[] = {
        {"among other text", Utf16("cert Qtx Labs 2009"), true},
        {"odd length after the marker", marker + "x", true},
        {"marker completed by the odd last byte", Utf16("Qtx Lab") + "s", true},
        {"unmappable characters before it", std::string("\x2D\x4E\x3D\xD8", 4) + marker, true},
        {"8-bit text", "Qtx Labs and more text", false},
        {"other letter case", Utf16("qtx labs"), false},
        {"marker after a NUL unit", Utf16("ab") + std::string(2, '\0') + marker, false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CarriesVendorText(c.bytes), c.expected) << c.name;
    }
}

} // namespace
