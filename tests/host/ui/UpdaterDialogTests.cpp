#include "OpenDialog.h"
#include "sim/window/SimAccessibility.h"
#include "support/SimWindowsFixture.h"
#include "tests/common/ProgramTexts.h"
#include "tests/common/SystemValues.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <map>
#include <string>
#include <thread>

namespace sim = platform::sim;
using platform::LParam;
using platform::WindowHandle;
using platform::WParam;

namespace {

class UpdaterDialogTest : public SimWindowsTest {
protected:
    void Open() {
        ctx.deviceText.Set(DeviceText{'1', '.', '1', '\0'});
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
        EXPECT_FALSE(ctx.deviceText.Get().empty());
    }
    void ExpectClosed(int result) {
        EXPECT_EQ(sim::Inspect(window_).result, result);
        EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_POLL));
        const DeviceText text = ctx.deviceText.Get();
        EXPECT_TRUE(text.empty());
        EXPECT_EQ(text.capacity(), 0u) << "released, not just emptied";
    }

    UpdaterContext ctx;
    UpdaterDialog dialog_{ctx};
    WindowHandle window_ = nullptr;
};

TEST_F(UpdaterDialogTest, SetUpLeavesTheWindowInItsStartingState) {
    Open();
    EXPECT_EQ(ctx.mainDialog.load(), window_);
    EXPECT_EQ(Status(), "Not Ready") << "the first poll runs during set-up and finds no player";
    EXPECT_FALSE(sim::Inspect(Control(IDC_CURRENT_VERSION)).visible);
    EXPECT_FALSE(sim::Inspect(Control(IDC_TARGET_VERSION)).visible);
    EXPECT_TRUE(sim::Inspect(Control(IDC_LOGO)).visible);
    const auto progress = sim::Inspect(Control(IDC_PROGRESS)).progress;
    EXPECT_EQ(progress.low, 0);
    EXPECT_EQ(progress.high, 1000);
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_POLL), 2000u);
    EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_PROGRESS));
    EXPECT_EQ(sim::Inspect(window_).text, kProgramName);
    EXPECT_EQ(platform::SetFocus(nullptr), Control(IDOK)) // reads the focus, taking it away
        << "the dialog manager's default focus wins over the upgrade button";
    EXPECT_TRUE(sim::ShownMessageBoxes().empty());
}

TEST_F(UpdaterDialogTest, ShowStatusAppendsTheVersionWhileTheStatusIsShowingVersion) {
    Open();
    ctx.deviceVersionText.Set("1.1.6E");
    // The code picks the text; the status, not the code, decides whether the version follows.
    const struct {
        UpdaterStatus status;
        UpdaterStatus code;
        const char* shown;
    } cases[] = {
        {ShowingVersion, ShowingVersion, "Tolvo r5xx Firmware version : 1.1.6E"},
        {Ready, ShowingVersion, "Tolvo r5xx Firmware version : "},
        {ShowingVersion, Ready, "Ready1.1.6E"},
        {NotReady, static_cast<UpdaterStatus>(7), ""},
        {NotReady, static_cast<UpdaterStatus>(-1), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        ctx.status = c.status;
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
    EXPECT_EQ(boxes[0].caption, kExitCaption);
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
    ctx.transferPhase = TransferPhase::Ended;
    ctx.status = Ready; // the phase counts, not the status
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
        ctx.deviceText.Set(DeviceText{'x', '\0'});
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

TEST_F(UpdaterDialogTest, EachRequestOfDiscoveryAndTheWorkerIsServedOnTheWindow) {
    Open();
    WindowRequests& requests = *ctx.window;
    const auto progress = [this] { return sim::Inspect(Control(IDC_PROGRESS)).progress.position; };
    platform::SetTimer(window_, ID_TIMER_PROGRESS, kProgressPeriodMs);
    platform::SendMessageA(Control(IDC_PROGRESS), PBM_SETPOS, 300, 0);
    ctx.progressTicks = 3;

    bool timerWhileUp = true;
    sim::ScriptMessageBoxes({{IDOK, 0, [&] {
                                  timerWhileUp = sim::TimerPeriod(window_, ID_TIMER_PROGRESS).has_value();
                                  EXPECT_EQ(progress(), 300) << "held, not emptied";
                              }}});
    requests.ShowMessageWithProgressHeld("held");
    EXPECT_FALSE(timerWhileUp);
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_PROGRESS), kProgressPeriodMs) << "resumed after the box";
    requests.ShowMessage("plain");
    requests.ShowSystemMessage("the system's");
    requests.StopProgress();
    EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_PROGRESS));
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(ctx.progressTicks.load(), 0);
    requests.ShowVersionLines("1.1.5E", "1.1.6E");
    EXPECT_EQ(sim::Inspect(Control(IDC_CURRENT_VERSION)).text, "Current version:    1.1.5E");
    EXPECT_EQ(sim::Inspect(Control(IDC_TARGET_VERSION)).text, "Upgrade to version: 1.1.6E");

    ASSERT_EQ(sim::TimerPeriod(window_, ID_TIMER_POLL), kPollPeriodMs);
    sim::ScriptMessageBoxes({{IDOK, 0, [&] { EXPECT_FALSE(sim::TimerPeriod(window_, ID_TIMER_POLL)); }}});
    requests.RefuseRun("why");
    EXPECT_FALSE(sim::Inspect(window_).result) << "the close is posted";
    const std::vector<std::pair<std::string, std::string>> shown = {
        {"held", kMessageCaption},
        {"plain", kMessageCaption},
        {"the system's", platform::ApplicationName()},
        {"why", kMessageCaption}};
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(boxes[i].text, shown[i].first);
        EXPECT_EQ(boxes[i].caption, shown[i].second);
        EXPECT_EQ(boxes[i].type, MB_OK);
        EXPECT_EQ(boxes[i].owner, window_);
    }
    sim::PumpMessages();
    ExpectClosed(IDCANCEL);
}

TEST_F(UpdaterDialogTest, WithNoWindowPublishedNoRequestReachesOne) {
    Open();
    platform::SetTimer(window_, ID_TIMER_PROGRESS, kProgressPeriodMs);
    const std::size_t delivered = sim::DeliveredMessages().size();
    ctx.mainDialog = nullptr; // as once the window has gone
    WindowRequests& requests = *ctx.window;
    requests.ShowSystemMessage("a");
    requests.ShowVersionLines("1.1.5E", "1.1.6E");
    requests.RefuseRun("b");
    requests.ShowMessage("c");
    requests.ShowMessageWithProgressHeld("d");
    requests.StopProgress();
    requests.EndRun();
    sim::PumpMessages();
    EXPECT_TRUE(sim::ShownMessageBoxes().empty());
    EXPECT_EQ(sim::DeliveredMessages().size(), delivered);
    EXPECT_EQ(sim::Inspect(Control(IDC_CURRENT_VERSION)).text, "Current version:  Searching...");
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_PROGRESS), kProgressPeriodMs);
    ExpectStillOpen();
}

TEST_F(UpdaterDialogTest, StatusAndVersionLinesAreLiveRegionsWhileOpenWithComOnTheWindowsThread) {
    const auto comOfThisThread = [] { return sim::ComInitialisations(std::this_thread::get_id()); };
    for (const bool serviceAvailable : {true, false}) {
        SCOPED_TRACE(serviceAvailable ? "with the property service" : "without it, as on Windows 7");
        sim::Reset();
        if (!serviceAvailable) {
            sim::RefuseAccPropServices();
        }
        {
            UpdaterDialog dialog(ctx);
            EXPECT_EQ(comOfThisThread(), 1);
            window_ = OpenWithoutLoop(dialog, IDD_UPDATER_DIALOG);
            std::map<WindowHandle, int> live;
            if (serviceAvailable) {
                for (int id : {IDC_STATUS, IDC_CURRENT_VERSION, IDC_TARGET_VERSION}) {
                    live[Control(id)] = platform::Polite;
                }
            }
            EXPECT_EQ(sim::LiveSettings(), live);
            dialog.ShowStatus(Downloading);
            const auto events = sim::RaisedWinEvents();
            ASSERT_EQ(events.size(), 1u) << "announced all the same";
            EXPECT_EQ(events[0].window, Control(IDC_STATUS));
            EXPECT_EQ(events[0].text, "Downloading");
            Command(IDCANCEL);
            EXPECT_TRUE(sim::LiveSettings().empty()) << "cleared as the window closes";
            sim::PumpMessages();
        }
        EXPECT_EQ(comOfThisThread(), 0) << "COM goes once the window has gone";
    }
}

TEST_F(UpdaterDialogTest, DragIconIsTheWindowIcon) {
    Open();
    EXPECT_EQ(platform::SendMessageA(window_, WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<platform::LResult>(platform::LoadIconA(IDI_MAIN)));
}

} // namespace
