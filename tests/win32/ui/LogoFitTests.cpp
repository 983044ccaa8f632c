// The logo at the DPI this process runs at: tests/exe/logo-at-each-dpi.sh runs this again at 120,
// 144 and 192 DPI. Above 100 % the picture shown is the one drawn for the scale, filling the
// control's frame from the template, neither spilling over nor leaving a band, and it goes with
// the window; at 100 % it is the template's own. A move to a monitor of another scale, which Wine
// never makes, is a WM_DPICHANGED sent by the test.
#include "MessageLog.h"
#include "RunningDialog.h"
#include "ui/LogoScale.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

std::vector<std::uint32_t> Pixels(HBITMAP bitmap, SIZE size) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.cx;
    format.bmiHeader.biHeight = -size.cy; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    const HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, size.cy);
    return pixels;
}

HBITMAP ShownLogo(const RunningDialog& dialog) {
    return reinterpret_cast<HBITMAP>(SendMessageA(dialog.Control(IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST(LogoAfterADpiChange, TheWindowTakesTheSuggestedPlaceAndTheLogoDrawnForTheNewScale) {
    RunningDialog dialog;
    ASSERT_TRUE(dialog.WaitForWindow());
    HWND window = dialog.Window();
    RECT before{};
    GetWindowRect(window, &before);
    RECT suggested{before.left + 40, before.top + 30, before.left + 40 + (before.right - before.left) * 3 / 2,
                   before.top + 30 + (before.bottom - before.top) * 3 / 2};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&after, &suggested))
        << after.left << "," << after.top << " " << after.right << "," << after.bottom;

    RECT frame{kLogoFrame.left, kLogoFrame.top, kLogoFrame.right, kLogoFrame.bottom};
    ASSERT_TRUE(MapDialogRect(window, &frame));
    const SIZE fitted{frame.right - frame.left, frame.bottom - frame.top};
    ASSERT_TRUE(WaitFor([&] {
        const SIZE size = BitmapSize(ShownLogo(dialog));
        return size.cx == fitted.cx && size.cy == fitted.cy;
    })) << "the logo was not fitted to its frame";
    const HBITMAP drawnFor150 = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LOGO_150), IMAGE_BITMAP, fitted.cx, fitted.cy, 0));
    ASSERT_NE(drawnFor150, nullptr);
    EXPECT_TRUE(Pixels(ShownLogo(dialog), fitted) == Pixels(drawnFor150, fitted)) << "not the 150 % picture";
    DeleteObject(drawnFor150);

    const HBITMAP scaled = ShownLogo(dialog);
    RECT back = before;
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    EXPECT_TRUE(WaitFor([&] {
        const SIZE size = BitmapSize(ShownLogo(dialog));
        return size.cx == 221 && size.cy == 61;
    })) << "back at 100 %, the template's picture at its own size";
    BITMAP gone{};
    EXPECT_EQ(GetObjectA(scaled, sizeof gone, &gone), 0) << "the 150 % picture outlived its use";
}

TEST(LogoAtScreenDpi, ShownPictureFillsTheControlsFrameAndGoesWithTheWindow) {
    MessageLog log;
    RunningDialog dialog([&log] { log.WatchThisThread(); });
    ASSERT_TRUE(dialog.WaitForWindow());
    HWND window = dialog.Window();
    const unsigned dpi = platform::GetDpiForWindow(reinterpret_cast<platform::WindowHandle>(window));
    if (const char* expected = std::getenv("UPDATER_EXPECT_DPI")) {
        ASSERT_EQ(dpi, static_cast<unsigned>(std::atoi(expected))) << "the prefix's LogPixels did not take";
    }

    RECT frame{kLogoFrame.left, kLogoFrame.top, kLogoFrame.right, kLogoFrame.bottom};
    ASSERT_TRUE(MapDialogRect(window, &frame));
    const auto shown =
        reinterpret_cast<HBITMAP>(SendMessageA(dialog.Control(IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0));
    const SIZE size = BitmapSize(shown);
    const int bitmap = LogoBitmapForDpi(dpi);
    const auto set = log.To(dialog.Control(IDC_LOGO), STM_SETIMAGE);
    if (bitmap == IDB_LOGO) {
        // The template's own picture, as it always was.
        EXPECT_EQ(size.cx, 221) << dpi << " DPI";
        EXPECT_EQ(size.cy, 61) << dpi << " DPI";
        EXPECT_TRUE(set.empty()) << "nothing replaces the template's picture";
    } else {
        EXPECT_EQ(size.cx, frame.right - frame.left) << dpi << " DPI";
        EXPECT_EQ(size.cy, frame.bottom - frame.top) << dpi << " DPI";
        ASSERT_EQ(set.size(), 1u) << "one picture is set, once";
        EXPECT_EQ(set[0].wParam, static_cast<WPARAM>(IMAGE_BITMAP));
        EXPECT_EQ(reinterpret_cast<HBITMAP>(set[0].lParam), shown);
        const HBITMAP drawnForTheScale = static_cast<HBITMAP>(LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, size.cx, size.cy, 0));
        ASSERT_NE(drawnForTheScale, nullptr);
        EXPECT_TRUE(Pixels(shown, size) == Pixels(drawnForTheScale, size))
            << "not the picture drawn for " << dpi << " DPI";
        DeleteObject(drawnForTheScale);
    }

    RECT control{};
    GetWindowRect(dialog.Control(IDC_LOGO), &control);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(control.left, frame.left);
    EXPECT_EQ(control.top, frame.top);

    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(dialog.WaitForEnd());
    if (bitmap != IDB_LOGO) { // the program's own to free; the template's is the system's
        BITMAP gone{};
        EXPECT_EQ(GetObjectA(shown, sizeof gone, &gone), 0) << "the picture outlived its window";
    }
}

} // namespace
