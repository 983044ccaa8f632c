// The updater window minimised draws its own icon: each WM_PAINT then erases the icon's background
// with the paint DC before drawing. Restored, painting is the dialog's default. Where the icon lands
// is CentredIcon's, checked on the host.
#include "MessageLog.h"
#include "RunningDialog.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Under Wine without a window manager, a window is asked to restore the moment it is minimised
// (WM_QUERYOPEN right after WM_SIZE SIZE_MINIMIZED); refusing keeps it minimised.
std::atomic<bool> keepMinimised{false};
WNDPROC dialogProcedure = nullptr;
LRESULT CALLBACK RefuseToOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYOPEN && keepMinimised) {
        return FALSE;
    }
    return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

class WindowPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog_.WaitForWindow());
        ASSERT_TRUE(log_.Watching());
        dialogProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(dialog_.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseToOpen)));
    }
    void TearDown() override { keepMinimised = false; }

    void Minimise() {
        keepMinimised = true;
        ShowWindow(dialog_.Window(), SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(dialog_.Window()));
    }
    void Restore() {
        keepMinimised = false;
        ShowWindow(dialog_.Window(), SW_RESTORE);
        ASSERT_FALSE(IsIconic(dialog_.Window()));
    }
    // Has the window painted, even with the empty client area it has when minimised, and waits until its
    // thread has painted it and gone back to its loop; returns the WM_ICONERASEBKGND sent meanwhile.
    std::vector<LoggedMessage> Repaint() {
        // A paint already under way would take this one's invalidation for its own.
        EXPECT_TRUE(WaitFor([&] { return !GetUpdateRect(dialog_.Window(), nullptr, FALSE); }));
        SendMessageA(dialog_.Window(), WM_NULL, 0, 0);
        log_.Clear();
        EXPECT_TRUE(RedrawWindow(dialog_.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT));
        EXPECT_TRUE(WaitFor([&] { return !log_.To(dialog_.Window(), WM_PAINT).empty(); }))
            << "no WM_PAINT reached the window";
        SendMessageA(dialog_.Window(), WM_NULL, 0, 0); // handled only once the thread is back in its loop
        return log_.To(dialog_.Window(), WM_ICONERASEBKGND);
    }

    MessageLog log_;
    RunningDialog dialog_{[this] { log_.WatchThisThread(); }};
};

TEST_F(WindowPaint, MinimisedEachPaintErasesTheIconBackgroundWithThePaintDc) {
    Minimise();
    for (int paint = 0; paint < 2; ++paint) {
        const auto erased = Repaint();
        ASSERT_EQ(erased.size(), 1u) << "paint " << paint;
        EXPECT_NE(erased[0].wParam, 0u);
        EXPECT_EQ(erased[0].dcWindow, dialog_.Window()) << "not a DC of the window";
    }
}

TEST_F(WindowPaint, RestoredPaintDrawsNoIcon) {
    EXPECT_TRUE(Repaint().empty());
    Minimise();
    Restore();
    EXPECT_TRUE(Repaint().empty()) << "after a restore";
}

} // namespace
