// The updater's template has no WS_SYSMENU, so its window has no system menu (checked in
// UpdaterWindowTests). Given one, the window appends the About item to it after a separator.
#include "RunningDialog.h"
#include "tests/common/ProgramTexts.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

namespace {

// Gives the dialog made on this thread a system menu before its WM_INITDIALOG runs.
LRESULT CALLBACK AddSystemMenu(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770") {
            SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_SYSMENU);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ItemText(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(WindowWithASystemMenu, GetsTheAboutItemAfterASeparator) {
    // Removed however the test ends.
    std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)> hook(nullptr,
                                                                                       &UnhookWindowsHookEx);
    {
        RunningDialog dialog([&hook] {
            hook.reset(SetWindowsHookExA(WH_CBT, &AddSystemMenu, nullptr, GetCurrentThreadId()));
        });
        ASSERT_TRUE(dialog.WaitForWindow());
        ASSERT_NE(hook, nullptr);
        const HMENU menu = GetSystemMenu(dialog.Window(), FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);

        MENUITEMINFOA separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(count - 2), TRUE, &separator));
        EXPECT_NE(separator.fType & MFT_SEPARATOR, 0u);

        MENUITEMINFOA about{};
        about.cbSize = sizeof about;
        about.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(count - 1), TRUE, &about));
        EXPECT_EQ(about.fType & (MFT_SEPARATOR | MFT_BITMAP), 0u) << "a text item";
        EXPECT_EQ(about.wID, static_cast<UINT>(IDM_ABOUT));
        EXPECT_EQ(ItemText(menu, static_cast<UINT>(count - 1)), kAboutMenuItem);
    }
}

} // namespace
