// The logo at the DPI this process runs at: tests/exe/logo-at-150-percent.sh runs this again at
// 144 DPI. Above 100 % the picture shown fills the control's frame from the template, neither
// spilling over nor leaving a band; at 100 % it is the template's own.
#include "RunningDialog.h"
#include "ui/LogoScale.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

TEST(LogoAtScreenDpi, ShownPictureFillsTheControlsFrame) {
    RunningDialog dialog;
    ASSERT_TRUE(dialog.WaitForWindow());
    HWND window = dialog.Window();
    const unsigned dpi = platform::GetDpiForWindow(reinterpret_cast<platform::WindowHandle>(window));
    if (const char* expected = std::getenv("UPDATER_EXPECT_DPI")) {
        ASSERT_EQ(dpi, static_cast<unsigned>(std::atoi(expected))) << "the prefix's LogPixels did not take";
    }

    RECT frame{kLogoFrame.left, kLogoFrame.top, kLogoFrame.right, kLogoFrame.bottom};
    ASSERT_TRUE(MapDialogRect(window, &frame));
    const SIZE shown = BitmapSize(
        reinterpret_cast<HBITMAP>(SendMessageA(dialog.Control(IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0)));
    if (LogoBitmapForDpi(dpi) == IDB_LOGO) {
        // The template's own picture, as it always was.
        EXPECT_EQ(shown.cx, 221) << dpi << " DPI";
        EXPECT_EQ(shown.cy, 61) << dpi << " DPI";
    } else {
        EXPECT_EQ(shown.cx, frame.right - frame.left) << dpi << " DPI";
        EXPECT_EQ(shown.cy, frame.bottom - frame.top) << dpi << " DPI";
    }

    RECT control{};
    GetWindowRect(dialog.Control(IDC_LOGO), &control);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(control.left, frame.left);
    EXPECT_EQ(control.top, frame.top);
}

} // namespace
