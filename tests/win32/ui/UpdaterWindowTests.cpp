#include "RunningDialog.h"
#include "WineDrive.h"
#include "tests/common/ProgramTexts.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include <string>
#include <vector>

namespace {

// Clicks EXIT and checks the question; returns the box.
HWND AskToExit(HWND window) {
    PostClick(window, IDOK);
    HWND box = WaitForMessageBox([window](HWND w) { return GetWindow(w, GW_OWNER) == window; });
    EXPECT_NE(box, nullptr) << "EXIT did not ask";
    if (box != nullptr) {
        EXPECT_EQ(BoxText(box), kExitQuestion);
        EXPECT_EQ(TextOf(box), kExitCaption);
        EXPECT_EQ(ButtonsOf(box), static_cast<unsigned>(MB_YESNO));
    }
    return box;
}

class UpdaterWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_.WaitForWindow()) << "the dialog did not come up"; }
    RunningDialog dialog_;
};

TEST_F(UpdaterWindow, OpensWithItsIconNoSystemMenuTheFocusOnExitAndTheBarsRange) {
    HWND window = dialog_.Window();
    HWND progress = dialog_.Control(IDC_PROGRESS);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 1000);
    const auto icon =
        reinterpret_cast<LRESULT>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN)));
    ASSERT_NE(icon, 0);
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), icon);
    // Without WS_SYSMENU the platform gives the window no system menu, so there is nothing to append to.
    EXPECT_EQ(GetSystemMenu(window, FALSE), nullptr);
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &focus));
    EXPECT_EQ(focus.hwndFocus, dialog_.Control(IDOK)) << "the first tab stop has the focus";
}

TEST_F(UpdaterWindow, EscapeKeyEndsWithoutAsking) {
    PostMessageA(dialog_.Control(IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(dialog_.WaitForEnd()) << "the dialog did not end";
    EXPECT_EQ(dialog_.Result(), IDCANCEL);
}

TEST_F(UpdaterWindow, AboutCommandOpensTheAboutBoxModallyAndTheWindowRunsOnAfterIt) {
    // The low four bits of a system command are the system's own: IDM_ABOUT | 0x3 is the About item too.
    for (const WPARAM id : {WPARAM{IDM_ABOUT}, WPARAM{IDM_ABOUT | 0x3}}) {
        SCOPED_TRACE(id);
        PostMessageA(dialog_.Window(), WM_SYSCOMMAND, id, 0);
        HWND about = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            return (about =
                        FindOwnedDialog(dialog_.Window(), [](HWND w) { return TextOf(w) == kAboutCaption; }));
        }));
        std::vector<std::string> texts;
        for (HWND child = GetWindow(about, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            texts.push_back(TextOf(child));
        }
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Orvane Version 3.0.0.1"), texts.end());
        EXPECT_FALSE(IsWindowEnabled(dialog_.Window())) << "the About box is modal over the window";
        PostClick(about, IDOK);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(dialog_.Window()) != FALSE; }));
        EXPECT_FALSE(dialog_.Ended());
    }
}

TEST(RunUpdaterWindow, RunsTheDialogModallyUntilItClosesAndForgetsTheWindow) {
    RunningDialog run({}, [](UpdaterContext& context) {
        RunUpdaterWindow(context);
        return INT_PTR{0};
    });
    ASSERT_TRUE(run.WaitForWindow()) << "the window was not published in the context";
    const HWND window = run.Window();
    EXPECT_EQ(FindDialog([](HWND w) { return TextOf(w) == kProgramName; }), window);
    HWND box = AskToExit(window);
    ASSERT_NE(box, nullptr);
    PostClick(box, IDYES);
    ASSERT_TRUE(run.WaitForEnd()) << "Yes did not end the window";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(run.Context().mainDialog.load(), nullptr) << "a worker could still reach the gone window";
}

std::string VersionString(const std::vector<char>& block, const char* key) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + key;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return "<missing>";
    }
    return std::string(value, length > 0 ? strnlen(value, length) : 0);
}

TEST(ProgramVersionBlock, CarriesTheProductsNamesAndVersion) {
    const std::string program = WinePath(UPDATER_EXE);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << program;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(1, 0));
    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"FileVersion", "3, 0, 0, 1"},
        {"ProductVersion", "3, 0, 0, 1"},
        {"FileDescription", "Tolvo Firmware Updater"},
        {"InternalName", "Orvane"},
        {"ProductName", "Orvane"},
        {"OriginalFilename", "Tolvo Firmware Updater.EXE"},
        {"Comments", ""},
        {"CompanyName", ""},
        {"LegalTrademarks", ""},
        {"PrivateBuild", ""},
        {"SpecialBuild", ""},
    };
    for (const auto& s : strings) {
        EXPECT_EQ(VersionString(block, s.key), s.value) << s.key;
    }
}

} // namespace
