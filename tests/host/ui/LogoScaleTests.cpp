#include "OpenDialog.h"
#include "support/SimWindowsFixture.h"
#include "ui/LogoScale.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <vector>

namespace sim = platform::sim;

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

class LogoAtWindowDpi : public SimWindowsTest {
protected:
    // Opens the updater window at `dpi`, closes it again and destroys it; returns the bitmaps set
    // on the logo control, and in *liveWhileOpen the bitmaps loaded while the window was open.
    std::vector<sim::LoadedBitmap> LogosSetAt(unsigned dpi, std::vector<sim::LoadedBitmap>* liveWhileOpen) {
        sim::SetWindowDpi(dpi);
        std::vector<sim::LoadedBitmap> set;
        {
            UpdaterContext context;
            UpdaterDialog dialog(context);
            const platform::WindowHandle window = OpenWithoutLoop(dialog, IDD_UPDATER_DIALOG);
            EXPECT_NE(window, nullptr);
            const platform::WindowHandle logo = platform::GetDlgItem(window, IDC_LOGO);
            for (const sim::DeliveredMessage& m : sim::DeliveredMessages()) {
                if (m.window == logo && m.message == STM_SETIMAGE) {
                    EXPECT_EQ(m.wParam, IMAGE_BITMAP);
                    set.push_back(sim::BitmapOf(reinterpret_cast<platform::BitmapHandle>(m.lParam)));
                }
            }
            *liveWhileOpen = sim::LiveBitmaps();
            platform::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
            sim::PumpMessages();
        }
        EXPECT_TRUE(sim::LiveBitmaps().empty()) << "a scaled logo outlived its window";
        return set;
    }
};

TEST_F(LogoAtWindowDpi, At100PercentTheTemplatesLogoStays) {
    std::vector<sim::LoadedBitmap> live;
    EXPECT_TRUE(LogosSetAt(96, &live).empty());
    EXPECT_TRUE(live.empty()) << "nothing is loaded for the template's own picture";
}

TEST_F(LogoAtWindowDpi, AboveItTheLogoDrawnForTheScaleFillsTheFrame) {
    // 126 × 33 dialog units at 6 × 13 pixels per 4 × 8, times the scale.
    const struct {
        unsigned dpi;
        int bitmap, width, height;
    } cases[] = {{120, IDB_LOGO_125, 236, 67}, {144, IDB_LOGO_150, 283, 80}, {192, IDB_LOGO_200, 378, 107}};
    for (const auto& c : cases) {
        std::vector<sim::LoadedBitmap> live;
        const std::vector<sim::LoadedBitmap> set = LogosSetAt(c.dpi, &live);
        ASSERT_EQ(set.size(), 1u) << c.dpi << " DPI";
        EXPECT_EQ(set[0].id, c.bitmap) << c.dpi << " DPI";
        EXPECT_EQ(set[0].width, c.width) << c.dpi << " DPI";
        EXPECT_EQ(set[0].height, c.height) << c.dpi << " DPI";
        EXPECT_EQ(live.size(), 1u) << "one picture loaded at " << c.dpi << " DPI";
    }
}

} // namespace
