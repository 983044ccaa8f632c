// The program's resources as the system builds windows from them: the dialogs' controls in tab
// order with their classes, texts, styles and places, the About box, the menu string and pictures.
#include <windows.h>

#include <commctrl.h>

#include "tests/common/ProgramTexts.h"
#include "ui/LogoScale.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK Inert(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

struct Child {
    int id;
    std::string className;
    std::string text;
    LONG_PTR style;
    LONG_PTR exStyle;
    RECT place; // in the dialog's client area
};

// A dialog built by the system from template `id`, and its children in tab order.
class TemplateWindow {
public:
    explicit TemplateWindow(int id)
        : window_(
              ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, Inert, 0)) {}
    ~TemplateWindow() { ::DestroyWindow(window_); }
    HWND Window() const { return window_; }

    std::vector<Child> Children() const {
        std::vector<Child> children;
        for (HWND child = ::GetWindow(window_, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char className[64] = {};
            char text[256] = {};
            ::GetClassNameA(child, className, sizeof className);
            ::GetWindowTextA(child, text, sizeof text);
            RECT place{};
            ::GetWindowRect(child, &place);
            ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
            children.push_back({::GetDlgCtrlID(child), className, text, ::GetWindowLongPtrA(child, GWL_STYLE),
                                ::GetWindowLongPtrA(child, GWL_EXSTYLE), place});
        }
        return children;
    }
    // Dialog units to the client area's pixels, as the system lays the template out.
    RECT Pixels(int x, int y, int width, int height) const {
        RECT rect{x, y, x + width, y + height};
        ::MapDialogRect(window_, &rect);
        return rect;
    }

private:
    HWND window_;
};

struct TemplateItem {
    DWORD style, exStyle;
    short x, y, width, height; // dialog units
};

// The items of extended dialog template `id` as the program carries it, in order: the running
// dialog shows some of them changed (the dialog manager moves the default-button style, a progress
// bar turns its border into an edge, a bitmap static takes its picture's size).
std::vector<TemplateItem> TemplateItems(int id) {
    const HMODULE program = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceA(program, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(program, found)));
    std::vector<TemplateItem> items;
    if (words == nullptr || words[1] != 0xFFFF) {
        return items; // not an extended template
    }
    auto skipText = [](const WORD* at) { // a string, an ordinal (0xFFFF, n) or nothing (0)
        if (*at == 0xFFFF) {
            return at + 2;
        }
        while (*at++ != 0) {
        }
        return at;
    };
    const WORD count = words[8];
    const WORD* at = skipText(skipText(skipText(words + 13))); // menu, class, title
    at = skipText(at + 3);                                     // font size, weight, italic; face
    for (WORD item = 0; item < count; ++item) {
        at = reinterpret_cast<const WORD*>((reinterpret_cast<std::uintptr_t>(at) + 3) & ~std::uintptr_t{3});
        const auto* dwords = reinterpret_cast<const DWORD*>(at);
        const auto* place = reinterpret_cast<const short*>(at + 6);
        items.push_back({dwords[2], dwords[1], place[0], place[1], place[2], place[3]});
        at = skipText(skipText(at + 12)); // help id, styles, place, id; class, title
        at += 1 + (*at + 1) / 2;          // extra data
    }
    return items;
}

bool SameText(const std::string& a, const char* b) {
    return ::lstrcmpiA(a.c_str(), b) == 0;
}

TEST(ProgramResources, UpdaterDialogHasItsControlsInTabOrderWithTheirTextsStylesAndPlaces) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    const TemplateWindow dialog(IDD_UPDATER_DIALOG);
    ASSERT_NE(dialog.Window(), nullptr);
    char caption[64] = {};
    ::GetWindowTextA(dialog.Window(), caption, sizeof caption);
    EXPECT_STREQ(caption, kProgramName);
    RECT client{};
    ::GetClientRect(dialog.Window(), &client);
    const RECT size = dialog.Pixels(0, 0, 135, 97);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    const LONG_PTR style = ::GetWindowLongPtrA(dialog.Window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME), WS_POPUP | WS_CAPTION | DS_MODALFRAME);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(::GetWindowLongPtrA(dialog.Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0) << "on the taskbar";

    const struct {
        int id;
        const char* className;
        const char* text;
        bool visible, tabStop;
        int x, y, width, height;
    } expected[] = {
        {IDOK, "Button", "EXIT", true, true, 5, 56, 125, 14},
        {IDC_UPGRADE, "Button", "Firmware Upgrade", true, true, 5, 40, 125, 14},
        {IDC_PROGRESS, "msctls_progress32", "", true, false, 5, 72, 125, 6},
        {IDC_STATUS, "Static", "Ready", true, false, 5, 81, 125, 10},
        {IDC_CURRENT_VERSION, "Static", "Current version:  Searching...", false, false, 5, 5, 125, 13},
        {IDC_TARGET_VERSION, "Static", "Upgrade to version:  Searching...", false, false, 5, 21, 125, 13},
        {IDC_LOGO, "Static", nullptr, true, false, 5, 5, 0, 0}, // sized by its bitmap, named by its id
    };
    const std::vector<Child> children = dialog.Children();
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const auto& want = expected[i];
        const Child& child = children[i];
        SCOPED_TRACE(want.id);
        EXPECT_EQ(child.id, want.id);
        EXPECT_TRUE(SameText(child.className, want.className)) << child.className;
        if (want.text != nullptr) {
            EXPECT_EQ(child.text, want.text);
        }
        EXPECT_EQ((child.style & WS_VISIBLE) != 0, want.visible);
        EXPECT_EQ((child.style & WS_TABSTOP) != 0, want.tabStop);
        const RECT origin = dialog.Pixels(want.x, want.y, 0, 0);
        const RECT size = dialog.Pixels(0, 0, want.width, want.height);
        EXPECT_EQ(child.place.left, origin.left);
        EXPECT_EQ(child.place.top, origin.top);
        if (want.width != 0) {
            EXPECT_EQ(child.place.right - child.place.left, size.right);
            EXPECT_EQ(child.place.bottom - child.place.top, size.bottom);
        }
    }
    const auto items = TemplateItems(IDD_UPDATER_DIALOG);
    ASSERT_EQ(items.size(), children.size());
    EXPECT_EQ(items[0].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(items[1].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(items[2].style & WS_BORDER, 0u);
    // The frame a scaled logo is fitted to is the logo control's place in the template.
    EXPECT_EQ(items[6].x, kLogoFrame.left);
    EXPECT_EQ(items[6].y, kLogoFrame.top);
    EXPECT_EQ(items[6].x + items[6].width, kLogoFrame.right);
    EXPECT_EQ(items[6].y + items[6].height, kLogoFrame.bottom);
    EXPECT_NE(children[3].exStyle & WS_EX_STATICEDGE, 0);
    EXPECT_NE(children[4].exStyle & WS_EX_CLIENTEDGE, 0);
    EXPECT_NE(children[5].exStyle & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(children[6].style & SS_TYPEMASK, SS_BITMAP);
    EXPECT_NE(::SendMessageA(::GetDlgItem(dialog.Window(), IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

TEST(ProgramResources, AboutBoxShowsTheIconTheVersionAndAnOkButton) {
    const TemplateWindow about(IDD_ABOUT_DIALOG);
    ASSERT_NE(about.Window(), nullptr);
    char caption[64] = {};
    ::GetWindowTextA(about.Window(), caption, sizeof caption);
    EXPECT_STREQ(caption, kAboutCaption);
    EXPECT_NE(::GetWindowLongPtrA(about.Window(), GWL_STYLE) & WS_SYSMENU, 0);
    const std::vector<Child> children = about.Children();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0].style & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(::SendMessageA(::GetWindow(about.Window(), GW_CHILD), STM_GETICON, 0, 0), 0);
    EXPECT_EQ(children[1].text, "Orvane Version 3.0.0.1");
    EXPECT_FALSE(children[2].text.empty());
    EXPECT_EQ(children[3].id, IDOK);
    EXPECT_EQ(children[3].text, "OK");
    EXPECT_EQ(children[3].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(ProgramResources, MenuStringIconAndLogoArePartOfTheProgram) {
    char text[64] = {};
    EXPECT_GT(::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUT_MENU, text, sizeof text), 0);
    EXPECT_STREQ(text, kAboutMenuItem);
    EXPECT_NE(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN)), nullptr);
    // The 100 % logo, and each the window can choose at a higher DPI, drawn at its scale.
    const struct {
        unsigned dpi;
        int width, height;
    } logos[] = {{96, 221, 61}, {120, 276, 76}, {144, 332, 92}, {192, 442, 122}};
    for (const auto& want : logos) {
        SCOPED_TRACE(want.dpi);
        const HBITMAP logo = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                               MAKEINTRESOURCEA(LogoBitmapForDpi(want.dpi)),
                                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(logo, nullptr);
        BITMAP bitmap{};
        ASSERT_NE(::GetObjectA(logo, sizeof bitmap, &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, want.width);
        EXPECT_EQ(bitmap.bmHeight, want.height);
        EXPECT_EQ(bitmap.bmBitsPixel, 24);
        ::DeleteObject(logo);
    }
}

} // namespace
