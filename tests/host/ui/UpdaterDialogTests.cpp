#include "OpenDialog.h"
#include "support/SimWindowsFixture.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <string>

namespace sim = platform::sim;
using platform::LParam;
using platform::WindowHandle;
using platform::WParam;

namespace {

const char* const kExitQuestion =
    "Are you sure you want to exit the Tolvo r500 Series firmware update?\nClick \"Yes\" "
    "to exit the upgrade program. Click \"No\" to resume the upgrade process.";

class UpdaterDialogTest : public SimWindowsTest {
protected:
    void Open() {
        context_.deviceText.Set(DeviceText{'1', '.', '1', '\0'});
        window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
        ASSERT_NE(window_, nullptr);
    }
    WindowHandle Control(int id) const { return platform::GetDlgItem(window_, id); }
    std::string Status() const { return sim::Inspect(platform::GetDlgItem(window_, IDC_STATUS)).text; }
    void Command(int id) { platform::SendMessageA(window_, WM_COMMAND, static_cast<WParam>(id), 0); }
    // Still open: not ended, poll timer running and the player's text kept.
    void ExpectStillOpen() {
        EXPECT_FALSE(sim::Inspect(window_).result);
        EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_POLL), kPollPeriodMs);
        EXPECT_FALSE(context_.deviceText.Get().empty());
    }
    void ExpectClosed(int result) {
        EXPECT_EQ(sim::Inspect(window_).result, result);
        EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_POLL));
        const DeviceText text = context_.deviceText.Get();
        EXPECT_TRUE(text.empty());
        EXPECT_EQ(text.capacity(), 0u) << "released, not just emptied";
    }

    UpdaterContext context_;
    UpdaterDialog dialog_{context_};
    WindowHandle window_ = nullptr;
};

TEST_F(UpdaterDialogTest, SetUpLeavesTheWindowInItsStartingState) {
    Open();
    EXPECT_EQ(context_.mainDialog.load(), window_);
    EXPECT_EQ(Status(), "Not Ready") << "the first poll runs during set-up and finds no player";
    EXPECT_FALSE(sim::Inspect(Control(IDC_CURRENT_VERSION)).visible);
    EXPECT_FALSE(sim::Inspect(Control(IDC_TARGET_VERSION)).visible);
    EXPECT_TRUE(sim::Inspect(Control(IDC_LOGO)).visible);
    const auto progress = sim::Inspect(Control(IDC_PROGRESS)).progress;
    EXPECT_EQ(progress.low, 0);
    EXPECT_EQ(progress.high, 1000);
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_POLL), 2000u);
    EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_PROGRESS));
    EXPECT_EQ(sim::Inspect(window_).text, "Tolvo Firmware Updater");
    const auto icon = platform::LoadIconA(IDI_MAIN);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(sim::Inspect(window_).icons[ICON_BIG], icon);
    EXPECT_EQ(sim::Inspect(window_).icons[ICON_SMALL], icon);
    EXPECT_EQ(sim::Focus(), Control(IDOK))
        << "the dialog manager's default focus wins over the upgrade button";
    EXPECT_TRUE(sim::Inspect(window_).systemMenu.empty()) << "no system menu without WS_SYSMENU";
    EXPECT_TRUE(sim::ShownMessageBoxes().empty());
}

TEST_F(UpdaterDialogTest, AboutItemIsAppendedWhereTheWindowHasASystemMenu) {
    sim::DefineDialog(IDD_UPDATER_DIALOG, {.controls = {{IDC_UPGRADE},
                                                        {IDC_PROGRESS},
                                                        {IDC_STATUS},
                                                        {IDC_CURRENT_VERSION},
                                                        {IDC_TARGET_VERSION},
                                                        {IDC_LOGO}},
                                           .systemMenu = true});
    Open();
    const auto items = sim::Inspect(window_).systemMenu;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].flags, MF_SEPARATOR);
    EXPECT_EQ(items[1].flags, MF_STRING);
    EXPECT_EQ(items[1].id, static_cast<std::uintptr_t>(IDM_ABOUT));
    EXPECT_EQ(items[1].text, "&About Orvane...");
}

TEST_F(UpdaterDialogTest, ShowStatusAppendsTheVersionWhileTheStatusIsShowingVersion) {
    Open();
    context_.deviceVersionText.Set("1.1.6E");
    const struct {
        UpdaterStatus status;
        UpdaterStatus code;
        const char* shown;
    } cases[] = {
        {ShowingVersion, ShowingVersion, "Tolvo r5xx Firmware version : 1.1.6E"},
        {Ready, ShowingVersion, "Tolvo r5xx Firmware version : "},
        {Ready, Ready, "Ready"},
        {NotReady, NotReady, "Not Ready"},
        {Downloading, Downloading, "Downloading"},
        {Finished, Finished, "Finished Press Exit button"},
        {CommError, CommError, "Comunication Error!"},
        {Reconnect, Reconnect, "Reconnect!"},
        {ShowingVersion, Ready, "Ready1.1.6E"},
        {NotReady, static_cast<UpdaterStatus>(7), ""},
        {NotReady, static_cast<UpdaterStatus>(-1), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        context_.status = c.status;
        dialog_.ShowStatus(c.code);
        EXPECT_EQ(Status(), c.shown);
    }
}

TEST_F(UpdaterDialogTest, ExitAsksAndNoKeepsEverything) {
    Open();
    sim::ScriptMessageBoxes({{IDNO}});
    Command(IDOK);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kExitQuestion);
    EXPECT_EQ(boxes[0].caption, "Cancellation Confirmation");
    EXPECT_EQ(boxes[0].type, MB_YESNO);
    EXPECT_EQ(boxes[0].owner, window_);
    ExpectStillOpen();
}

TEST_F(UpdaterDialogTest, ExitAnsweredYesReleasesStopsPollingAndEnds) {
    Open();
    sim::ScriptMessageBoxes({{IDYES}});
    Command(IDOK);
    EXPECT_EQ(sim::ShownMessageBoxes().size(), 1u);
    ExpectClosed(IDOK);
}

TEST_F(UpdaterDialogTest, ExitAfterTheRunFinishedDoesNotAsk) {
    Open();
    context_.finished = true;
    context_.status = Ready; // finished counts, not the status
    Command(IDOK);
    EXPECT_TRUE(sim::ShownMessageBoxes().empty());
    ExpectClosed(IDOK);
}

TEST_F(UpdaterDialogTest, CancelNeverAsksWhicheverWayItComes) {
    const struct {
        const char* how;
        unsigned message;
        WParam wParam;
        bool posted;
    } ways[] = {
        {"Esc", WM_COMMAND, IDCANCEL, false},
        {"posted IDCANCEL", WM_COMMAND, IDCANCEL, true},
        {"close command", WM_SYSCOMMAND, 0xF060, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        sim::Reset();
        context_.deviceText.Set(DeviceText{'x', '\0'});
        Open();
        if (way.posted) {
            platform::PostMessageA(window_, way.message, way.wParam, 0);
        } else {
            platform::SendMessageA(window_, way.message, way.wParam, 0);
        }
        sim::PumpMessages();
        EXPECT_TRUE(sim::ShownMessageBoxes().empty());
        ExpectClosed(IDCANCEL);
    }
}

TEST_F(UpdaterDialogTest, CancelWhileTheExitQuestionIsUpLeavesTheWindowClosed) {
    Open();
    // The question's own loop delivers the posted command while it is up.
    platform::PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    sim::ScriptMessageBoxes({{IDNO}});
    Command(IDOK);
    ExpectClosed(IDCANCEL);
}

TEST_F(UpdaterDialogTest, AboutCommandRunsTheAboutBoxOwnedByTheWindow) {
    Open();
    std::vector<WindowHandle> abouts; // each dialog that ran the About template's script
    for (const unsigned id : {IDM_ABOUT, IDM_ABOUT | 0x3}) {
        sim::ScriptDialog(IDD_ABOUT_DIALOG, {[&](WindowHandle about) {
                              abouts.push_back(about);
                              EXPECT_FALSE(platform::IsWindowEnabled(window_)) << "modal over the window";
                              sim::Click(about, IDOK);
                          }});
        platform::SendMessageA(window_, WM_SYSCOMMAND, id, 0);
    }
    ASSERT_EQ(abouts.size(), 2u);
    EXPECT_EQ(sim::Inspect(abouts[0]).parent, window_);
    EXPECT_EQ(sim::Inspect(abouts[0]).result, IDOK);
    EXPECT_TRUE(platform::IsWindowEnabled(window_));
    ExpectStillOpen();
}

TEST_F(UpdaterDialogTest, MinimisedWindowDrawsItsIconCentred) {
    Open();
    const struct {
        int width, height, iconWidth, iconHeight, x, y;
    } cases[] = {
        {203, 157, 32, 32, 86, 63},
        {200, 100, 32, 16, 84, 42},
        {20, 10, 32, 32, -5, -10}, // truncated toward zero, not floored
    };
    for (const auto& c : cases) {
        sim::Minimise(window_, c.width, c.height);
        sim::SetSystemMetric(SM_CXICON, c.iconWidth);
        sim::SetSystemMetric(SM_CYICON, c.iconHeight);
        platform::SendMessageA(window_, WM_PAINT, 0, 0);
    }
    const auto drawn = sim::DrawnIcons();
    ASSERT_EQ(drawn.size(), std::size(cases));
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].x, cases[i].x) << i;
        EXPECT_EQ(drawn[i].y, cases[i].y) << i;
        EXPECT_EQ(drawn[i].icon, platform::LoadIconA(IDI_MAIN));
    }
    std::vector<platform::DeviceContext> erased;
    for (const auto& message : sim::DeliveredMessages()) {
        if (message.message == WM_ICONERASEBKGND) {
            erased.push_back(reinterpret_cast<platform::DeviceContext>(message.wParam));
        }
    }
    ASSERT_EQ(erased.size(), drawn.size());
    EXPECT_EQ(erased[0], drawn[0].context) << "the background is erased with the paint context";
}

TEST_F(UpdaterDialogTest, RestoredWindowPaintsNoIconAndDragIconIsTheWindowIcon) {
    Open();
    platform::SendMessageA(window_, WM_PAINT, 0, 0);
    EXPECT_TRUE(sim::DrawnIcons().empty());
    EXPECT_EQ(platform::SendMessageA(window_, WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<platform::LResult>(platform::LoadIconA(IDI_MAIN)));
}

TEST(RunUpdaterWindow, RunsTheDialogModallyUntilItClosesAndForgetsTheWindow) {
    sim::Reset();
    DefineProgramDialogs();
    UpdaterContext context;
    WindowHandle seen = nullptr;
    sim::ScriptDialog(IDD_UPDATER_DIALOG, {
                                              [&](WindowHandle dialog) {
                                                  seen = context.mainDialog;
                                                  EXPECT_EQ(seen, dialog);
                                                  sim::AdvanceTime(4000);
                                              },
                                              [](WindowHandle dialog) { sim::Click(dialog, IDOK); },
                                          });
    sim::ScriptMessageBoxes({{IDYES}});
    RunUpdaterWindow(context);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(context.mainDialog.load(), nullptr);
    EXPECT_EQ(sim::Inspect(seen).result, IDOK);
    EXPECT_EQ(sim::ShownMessageBoxes().size(), 1u);
    EXPECT_TRUE(sim::TakeFailures().empty());
    sim::Reset();
}

} // namespace
