#include "platform/Process.h"
#include "support/SimWindowsFixture.h"
#include "ui/resource.h"

#include <atomic>
#include <functional>
#include <thread>

namespace sim = platform::sim;
using platform::LParam;
using platform::LResult;
using platform::WindowHandle;
using platform::WParam;

namespace {

struct Received {
    unsigned message;
    WParam wParam;
    LParam lParam;
    std::uint64_t at;
};

// The dialog procedure of these tests hands every message to `answer`, after noting it.
std::vector<Received> received;
std::function<LResult(WindowHandle, unsigned, WParam, LParam)> answer;

LResult RecordingProc(WindowHandle dialog, unsigned message, WParam wParam, LParam lParam) {
    received.push_back({message, wParam, lParam, sim::Now()});
    return answer ? answer(dialog, message, wParam, lParam) : (message == WM_INITDIALOG ? 1 : 0);
}

std::vector<unsigned> TimerIdsReceived() {
    std::vector<unsigned> ids;
    for (const auto& message : received) {
        if (message.message == WM_TIMER) {
            ids.push_back(static_cast<unsigned>(message.wParam));
        }
    }
    return ids;
}

class SimWindows : public SimWindowsTest {
protected:
    void SetUp() override {
        SimWindowsTest::SetUp();
        received.clear();
        answer = nullptr;
    }
    WindowHandle Open(int templateId = IDD_UPDATER_DIALOG) {
        const WindowHandle dialog = sim::OpenDialog(templateId, RecordingProc, 77);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
};

TEST_F(SimWindows, OpenedDialogCarriesTheTemplatesControls) {
    const WindowHandle dialog = Open();
    EXPECT_EQ(sim::WindowText(dialog), "Tolvo Firmware Updater");
    EXPECT_EQ(sim::ClassName(dialog), "#32770");
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0].message, WM_INITDIALOG);
    EXPECT_EQ(received[0].lParam, 77);
    const struct {
        int id;
        const char* text;
        bool visible;
    } expected[] = {
        {IDOK, "EXIT", true},
        {IDC_UPGRADE, "Firmware Upgrade", true},
        {IDC_PROGRESS, "", true},
        {IDC_STATUS, "Ready", true},
        {IDC_CURRENT_VERSION, "Current version:  Searching...", false},
        {IDC_TARGET_VERSION, "Upgrade to version:  Searching...", false},
        {IDC_LOGO, "", true},
    };
    const auto children = sim::Children(dialog);
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(sim::ControlId(children[i]), expected[i].id);
        EXPECT_EQ(platform::GetDlgItem(dialog, expected[i].id), children[i]);
        EXPECT_EQ(platform::GetDlgItemTextA(dialog, expected[i].id), expected[i].text);
        EXPECT_EQ(platform::IsWindowVisible(children[i]), expected[i].visible);
        EXPECT_TRUE(platform::IsWindowEnabled(children[i]));
    }
    EXPECT_EQ(platform::GetDlgItem(dialog, 4242), nullptr);
    EXPECT_EQ(platform::GetDlgItemTextA(dialog, 4242), "");
}

TEST_F(SimWindows, DefaultFocusGoesToTheFirstVisibleEnabledTabStopOnlyWhenAskedFor) {
    answer = [](WindowHandle dialog, unsigned message, WParam, LParam) -> LResult {
        if (message != WM_INITDIALOG) {
            return 0;
        }
        platform::SetFocus(platform::GetDlgItem(dialog, IDC_PROGRESS));
        return 1;
    };
    WindowHandle dialog = Open();
    EXPECT_EQ(sim::Focus(), platform::GetDlgItem(dialog, IDOK));

    answer = [](WindowHandle dialog, unsigned message, WParam, LParam) -> LResult {
        if (message != WM_INITDIALOG) {
            return 0;
        }
        platform::EnableWindow(platform::GetDlgItem(dialog, IDOK), false);
        return 1;
    };
    dialog = Open();
    EXPECT_EQ(sim::Focus(), platform::GetDlgItem(dialog, IDC_UPGRADE)) << "a disabled EXIT is skipped";

    answer = [](WindowHandle dialog, unsigned message, WParam, LParam) -> LResult {
        if (message == WM_INITDIALOG) {
            platform::SetFocus(platform::GetDlgItem(dialog, IDC_UPGRADE));
        }
        return 0;
    };
    dialog = Open();
    EXPECT_EQ(sim::Focus(), platform::GetDlgItem(dialog, IDC_UPGRADE));
}

TEST_F(SimWindows, WindowStateChangesAnswerThePreviousState) {
    const WindowHandle dialog = Open();
    const WindowHandle status = platform::GetDlgItem(dialog, IDC_STATUS);
    EXPECT_TRUE(platform::ShowWindow(status, SW_HIDE));
    EXPECT_FALSE(platform::IsWindowVisible(status));
    EXPECT_FALSE(platform::ShowWindow(status, SW_SHOW));
    EXPECT_FALSE(platform::EnableWindow(status, false));
    EXPECT_FALSE(platform::IsWindowEnabled(status));
    EXPECT_TRUE(platform::EnableWindow(status, true));
    EXPECT_TRUE(platform::SetDlgItemTextA(dialog, IDC_STATUS, "x & y"));
    EXPECT_EQ(platform::GetDlgItemTextA(dialog, IDC_STATUS), "x & y");
    EXPECT_FALSE(platform::SetDlgItemTextA(dialog, 4242, "none"));
}

TEST_F(SimWindows, ProgressBarKeepsRangeAndClampedPosition) {
    const WindowHandle bar = platform::GetDlgItem(Open(), IDC_PROGRESS);
    EXPECT_EQ(platform::SendMessageA(bar, PBM_SETRANGE, 0, 1000 << 16), 100 << 16) << "starts at 0…100";
    EXPECT_EQ(platform::SendMessageA(bar, PBM_GETRANGE, 1, 0), 0);
    EXPECT_EQ(platform::SendMessageA(bar, PBM_GETRANGE, 0, 0), 1000);
    EXPECT_EQ(platform::SendMessageA(bar, PBM_SETPOS, 250, 0), 0);
    EXPECT_EQ(platform::SendMessageA(bar, PBM_SETPOS, 5000, 0), 250);
    EXPECT_EQ(platform::SendMessageA(bar, PBM_GETPOS, 0, 0), 1000);
    EXPECT_EQ(sim::Progress(bar).position, 1000);
    EXPECT_EQ(sim::Progress(bar).high, 1000);
}

TEST_F(SimWindows, ClickSendsTheCommandEvenToADisabledButton) {
    const WindowHandle dialog = Open();
    const WindowHandle upgrade = platform::GetDlgItem(dialog, IDC_UPGRADE);
    platform::EnableWindow(upgrade, false);
    received.clear();
    sim::Click(dialog, IDC_UPGRADE);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, WM_COMMAND);
    EXPECT_EQ(received[0].wParam, static_cast<WParam>(IDC_UPGRADE) | (WParam{BN_CLICKED} << 16));
    EXPECT_EQ(received[0].lParam, reinterpret_cast<LParam>(upgrade));
}

TEST_F(SimWindows, PostedMessagesWaitForThePumpAndKeepTheirOrder) {
    const WindowHandle dialog = Open();
    received.clear();
    EXPECT_TRUE(platform::PostMessageA(dialog, WM_APP + 1, 1, 0));
    EXPECT_TRUE(platform::PostMessageA(dialog, WM_APP + 2, 2, 0));
    EXPECT_TRUE(received.empty());
    sim::PumpMessages();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_APP + 1);
    EXPECT_EQ(received[1].message, WM_APP + 2);
    EXPECT_FALSE(platform::PostMessageA(nullptr, WM_APP, 0, 0));
}

TEST_F(SimWindows, UnhandledCloseBecomesCancel) {
    const WindowHandle dialog = Open();
    received.clear();
    platform::SendMessageA(dialog, WM_SYSCOMMAND, 0xF060, 0);
    sim::PumpMessages();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1].message, sim::kClose);
    EXPECT_EQ(received[2].message, WM_COMMAND);
    EXPECT_EQ(received[2].wParam, static_cast<WParam>(IDCANCEL));
}

TEST_F(SimWindows, SendFromAnotherThreadRunsOnTheUiThreadAndWaitsForTheAnswer) {
    const WindowHandle bar = platform::GetDlgItem(Open(), IDC_PROGRESS);
    platform::SendMessageA(bar, PBM_SETPOS, 30, 0);
    std::atomic<LResult> previous{-1};
    std::thread worker([&] { previous = platform::SendMessageA(bar, PBM_SETPOS, 70, 0); });
    EXPECT_TRUE(sim::PumpUntil([&] { return previous != -1; }));
    worker.join();
    EXPECT_EQ(previous, 30);
    EXPECT_EQ(sim::Progress(bar).position, 70);
    const auto delivered = sim::DeliveredMessages();
    ASSERT_FALSE(delivered.empty());
    EXPECT_EQ(delivered.back().window, bar);
    EXPECT_EQ(delivered.back().thread, std::this_thread::get_id());
}

TEST_F(SimWindows, DialogProcedureAnswersOnlyWhetherItHandledOrdinaryMessages) {
    const WindowHandle dialog = Open();
    answer = [](WindowHandle, unsigned, WParam, LParam) -> LResult { return 42; };
    EXPECT_EQ(platform::SendMessageA(dialog, WM_APP, 0, 0), 0) << "the answer would travel in DWLP_MSGRESULT";
    EXPECT_EQ(platform::SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0), 42);
}

WindowHandle sendTarget = nullptr;
std::atomic<LResult> sendResult{-1};
void SendToTarget(void*) {
    sendResult = platform::SendMessageA(sendTarget, PBM_SETPOS, 1, 0);
}

TEST_F(SimWindows, ResetReleasesAThreadWaitingOnASend) {
    sendTarget = platform::GetDlgItem(Open(), IDC_PROGRESS);
    sendResult = -1;
    platform::BeginThread(SendToTarget, nullptr);
    sim::Reset(); // never pumped: the send is answered with 0 and the thread ends
    EXPECT_EQ(sendResult, 0);
}

TEST_F(SimWindows, EndedDialogIsGoneAfterThePumpAndKeepsItsResult) {
    const WindowHandle dialog = Open();
    EXPECT_TRUE(platform::EndDialog(dialog, 5));
    EXPECT_TRUE(sim::IsWindow(dialog)) << "destroyed only when its loop regains control";
    sim::PumpMessages();
    EXPECT_FALSE(sim::IsWindow(dialog));
    EXPECT_EQ(sim::DialogResult(dialog), 5);
    EXPECT_EQ(platform::SendMessageA(dialog, WM_APP, 0, 0), 0);
    EXPECT_FALSE(platform::PostMessageA(dialog, WM_APP, 0, 0));
    EXPECT_FALSE(platform::EndDialog(dialog, 6));
}

TEST_F(SimWindows, TimersFireInDueOrderOnlyAsTimeAdvances) {
    const WindowHandle dialog = Open();
    EXPECT_EQ(platform::SetTimer(dialog, 1, 50), 1u);
    EXPECT_EQ(platform::SetTimer(dialog, 2, 120), 2u);
    received.clear();
    sim::PumpMessages();
    EXPECT_TRUE(received.empty());
    sim::AdvanceTime(250);
    EXPECT_EQ(TimerIdsReceived(), (std::vector<unsigned>{1, 1, 2, 1, 1, 2, 1}));
    std::vector<std::uint64_t> times;
    for (const auto& message : received) {
        times.push_back(message.at);
    }
    EXPECT_EQ(times, (std::vector<std::uint64_t>{50, 100, 120, 150, 200, 240, 250}));
    EXPECT_EQ(sim::Now(), 250u);

    EXPECT_TRUE(platform::KillTimer(dialog, 1));
    EXPECT_FALSE(platform::KillTimer(dialog, 1));
    received.clear();
    sim::AdvanceTime(240);
    EXPECT_EQ(TimerIdsReceived(), (std::vector<unsigned>{2, 2}));
}

TEST_F(SimWindows, SleepMovesTheClockAndAnOverdueTimerFiresOnce) {
    const WindowHandle dialog = Open();
    platform::SetTimer(dialog, 9, 100);
    received.clear();
    platform::Sleep(1000);
    EXPECT_EQ(sim::Now(), 1000u);
    EXPECT_TRUE(received.empty());
    sim::PumpMessages();
    EXPECT_EQ(TimerIdsReceived(), (std::vector<unsigned>{9}));
    EXPECT_EQ(sim::TimerPeriod(dialog, 9), 100u);
}

TEST_F(SimWindows, ReplacingATimerRestartsItsPeriod) {
    const WindowHandle dialog = Open();
    platform::SetTimer(dialog, 3, 2000);
    sim::AdvanceTime(1500);
    platform::SetTimer(dialog, 3, 50);
    received.clear();
    sim::AdvanceTime(100);
    EXPECT_EQ(TimerIdsReceived(), (std::vector<unsigned>{3, 3}));
    EXPECT_EQ(sim::TimerPeriod(dialog, 3), 50u);
}

TEST_F(SimWindows, TimersOffTheWindowsThreadAreFailures) {
    const WindowHandle dialog = Open();
    std::thread worker([&] {
        platform::SetTimer(dialog, 4, 50);
        platform::KillTimer(dialog, 4);
    });
    worker.join();
    EXPECT_EQ(sim::TakeFailures().size(), 2u);
    EXPECT_FALSE(sim::TimerPeriod(dialog, 4));
}

TEST_F(SimWindows, MessageBoxesAreAnsweredFromTheScriptAndRecorded) {
    const WindowHandle dialog = Open();
    bool ranWhileShown = false;
    sim::ScriptMessageBoxes({{IDNO}, {IDYES, [&] { ranWhileShown = true; }}});
    EXPECT_EQ(platform::MessageBoxA(dialog, "first?", "Q", MB_YESNO), IDNO);
    EXPECT_FALSE(ranWhileShown);
    EXPECT_EQ(platform::MessageBoxA(dialog, "second?", "Q", MB_YESNO), IDYES);
    EXPECT_TRUE(ranWhileShown);
    EXPECT_EQ(platform::MessageBoxA(dialog, "note", "N", MB_OK), IDOK)
        << "an unscripted OK box needs no script";
    EXPECT_TRUE(sim::TakeFailures().empty());
    EXPECT_EQ(platform::MessageBoxA(dialog, "unscripted?", "Q", MB_OKCANCEL), 0);
    EXPECT_EQ(sim::TakeFailures().size(), 1u);

    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].owner, dialog);
    EXPECT_EQ(boxes[0].text, "first?");
    EXPECT_EQ(boxes[0].caption, "Q");
    EXPECT_EQ(boxes[0].type, MB_YESNO);
    EXPECT_EQ(boxes[0].thread, std::this_thread::get_id());
    EXPECT_EQ(boxes[1].answer, IDYES);
    EXPECT_EQ(boxes[2].answer, IDOK);
    EXPECT_EQ(platform::ApplicationName(), "Tolvo Firmware Updater");
}

TEST_F(SimWindows, ModalDialogRunsItsScriptedStepsUntilItEnds) {
    std::vector<std::string> seen;
    sim::ScriptDialog(IDD_ABOUT_DIALOG, {
                                            [&](WindowHandle dialog) {
                                                seen.push_back(sim::WindowText(dialog));
                                                platform::PostMessageA(dialog, WM_APP, 0, 0);
                                            },
                                            [&](WindowHandle dialog) { platform::EndDialog(dialog, 9); },
                                        });
    const WindowHandle owner = Open();
    answer = nullptr;
    EXPECT_EQ(platform::DialogBoxParamA(IDD_ABOUT_DIALOG, owner, RecordingProc, 0), 9);
    EXPECT_EQ(seen, std::vector<std::string>{"About Orvane"});
    EXPECT_TRUE(std::any_of(received.begin(), received.end(), [](auto& m) { return m.message == WM_APP; }));
    const auto opened = sim::OpenedDialogs();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].owner, owner);
    EXPECT_FALSE(sim::IsWindow(opened[1].dialog));
    EXPECT_TRUE(platform::IsWindowEnabled(owner)) << "the owner is enabled again";
}

TEST_F(SimWindows, ModalDialogLeftOpenEndsWithMinusOneAndAFailure) {
    EXPECT_EQ(platform::DialogBoxParamA(IDD_ABOUT_DIALOG, nullptr, RecordingProc, 0), -1);
    EXPECT_EQ(sim::TakeFailures().size(), 1u);
    EXPECT_EQ(platform::DialogBoxParamA(4242, nullptr, RecordingProc, 0), -1) << "no such template";
}

TEST_F(SimWindows, SystemMenuExistsOnlyWithItsStyleUnlessTheRuleSaysAlways) {
    const WindowHandle updater = Open(IDD_UPDATER_DIALOG);
    EXPECT_EQ(platform::GetSystemMenu(updater, false), nullptr);
    const WindowHandle about = Open(IDD_ABOUT_DIALOG);
    const auto menu = platform::GetSystemMenu(about, false);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(platform::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(platform::AppendMenuA(menu, MF_STRING, 0x10, "&About"));
    const auto items = sim::SystemMenuItems(about);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].flags, MF_SEPARATOR);
    EXPECT_EQ(items[1].id, 0x10u);
    EXPECT_EQ(items[1].text, "&About");
    sim::SetSystemMenuRule(sim::SystemMenuRule::Always);
    EXPECT_NE(platform::GetSystemMenu(updater, false), nullptr);
}

TEST_F(SimWindows, StringsAndIconsComeFromTheScript) {
    EXPECT_EQ(platform::LoadStringA(IDS_ABOUT_MENU), "&About Orvane...");
    EXPECT_EQ(platform::LoadStringA(4242), "");
    EXPECT_NE(platform::LoadIconA(IDI_MAIN), nullptr);
    EXPECT_EQ(platform::LoadIconA(IDB_LOGO), nullptr) << "a bitmap is not an icon";
}

TEST_F(SimWindows, PaintScopeAndIconDrawingAreRecorded) {
    const WindowHandle dialog = Open();
    EXPECT_EQ(platform::GetClientRect(dialog).right, 135 * 6 / 4);
    EXPECT_EQ(platform::GetClientRect(dialog).bottom, 97 * 13 / 8);
    sim::SetClientSize(dialog, 11, 12);
    EXPECT_EQ(platform::GetSystemMetrics(SM_CXICON), 32);
    {
        platform::PaintScope paint(dialog);
        EXPECT_EQ(sim::OpenPaintContext(dialog), paint.Context());
        EXPECT_TRUE(platform::DrawIcon(paint.Context(), 3, 4, platform::LoadIconA(IDI_MAIN)));
    }
    EXPECT_EQ(sim::OpenPaintContext(dialog), nullptr);
    ASSERT_EQ(sim::DrawnIcons().size(), 1u);
    EXPECT_EQ(sim::DrawnIcons()[0].x, 3);
    EXPECT_EQ(platform::GetClientRect(dialog).right, 11);
}

void CountUp(void* counter) {
    ++*static_cast<std::atomic<int>*>(counter);
}

TEST_F(SimWindows, ThreadModes) {
    std::atomic<int> runs{0};
    sim::SetThreadMode(sim::ThreadMode::Inline);
    EXPECT_TRUE(platform::BeginThread(CountUp, &runs));
    EXPECT_EQ(runs, 1);

    sim::SetThreadMode(sim::ThreadMode::Deferred);
    EXPECT_TRUE(platform::BeginThread(CountUp, &runs));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sim::RunDeferredThreads(), 1);
    EXPECT_EQ(runs, 2);

    sim::SetThreadMode(sim::ThreadMode::Real);
    EXPECT_TRUE(platform::BeginThread(CountUp, &runs));
    EXPECT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(sim::ThreadsStarted(), 3);
}

TEST_F(SimWindows, CommandLineAndResetReturnToTheirStart) {
    EXPECT_EQ(platform::GetCommandLineA(), "\"Tolvo Firmware Updater.exe\"");
    sim::SetCommandLine("updater a b");
    EXPECT_EQ(platform::GetCommandLineA(), "updater a b");
    const WindowHandle dialog = Open();
    platform::SetTimer(dialog, 1, 10);
    sim::AdvanceTime(35);
    sim::Reset();
    EXPECT_EQ(platform::GetCommandLineA(), "\"Tolvo Firmware Updater.exe\"");
    EXPECT_EQ(sim::Now(), 0u);
    EXPECT_FALSE(sim::IsWindow(dialog));
    EXPECT_TRUE(sim::OpenedDialogs().empty());
    EXPECT_TRUE(sim::DeliveredMessages().empty());
}

} // namespace
