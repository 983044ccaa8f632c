// The window services the program relies on: a send from the worker, timers, posted commands,
// message boxes and their loops, and the answers a dialog procedure gives.
#include "ContractMachine.h"
#include "platform/Accessibility.h"
#include "platform/Window.h"
#include "tests/common/SystemValues.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

using platform::LParam;
using platform::LResult;
using platform::WindowHandle;
using platform::WParam;

namespace {

constexpr unsigned kAnswered = WM_APP + 5; // answered through DWLP_MSGRESULT
constexpr unsigned kStopTimer = 8;         // a timer that stops itself at its first tick
constexpr WParam kCommand = 1234 | (WParam{BN_CLICKED} << 16);

struct Received {
    unsigned message;
    WParam wParam;
    LParam lParam;
    std::thread::id thread;
    bool boxUp;
};

// What the test window's procedure received; the worker reads it too.
std::mutex receivedLock;
std::vector<Received> received;
std::atomic<bool> boxUp{false};

LResult Record(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    {
        std::lock_guard hold(receivedLock);
        received.push_back({message, wParam, lParam, std::this_thread::get_id(), boxUp});
    }
    if (message == WM_TIMER && wParam == kStopTimer) {
        platform::KillTimer(window, kStopTimer);
    }
    if (message == kAnswered) {
        platform::SetWindowLongPtrA(window, DWLP_MSGRESULT, static_cast<LParam>(wParam) * 3);
        return 1;
    }
    return message == WM_QUERYDRAGICON ? 0x1234 : message == WM_INITDIALOG;
}

std::vector<Received> ReceivedOf(unsigned message) {
    std::lock_guard hold(receivedLock);
    std::vector<Received> found;
    for (const Received& r : received) {
        if (r.message == message) {
            found.push_back(r);
        }
    }
    return found;
}

class WindowContract : public ContractMachine {
protected:
    void SetUp() override {
        std::lock_guard hold(receivedLock);
        received.clear();
        boxUp = false;
    }
    WindowHandle window_ = OpenWindow(&Record);
};

TEST_F(WindowContract, ASendFromAnotherThreadIsHandledOnTheWindowsThreadBeforeItReturns) {
    std::atomic<LResult> result{-1};
    std::atomic<std::size_t> seenByWorker{0};
    std::thread worker([&] {
        result = platform::SendMessageA(window_, kAnswered, 7, 0);
        seenByWorker = ReceivedOf(kAnswered).size();
    });
    EXPECT_TRUE(PumpUntil([&] { return result != -1; }));
    worker.join();
    EXPECT_EQ(result, 21) << "the handler's DWLP_MSGRESULT";
    EXPECT_EQ(seenByWorker, 1u) << "handled before the send returned";
    const auto handled = ReceivedOf(kAnswered);
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0].thread, std::this_thread::get_id());
}

TEST_F(WindowContract, ADialogProcedureAnswersInTheMessageResultOrDirectly) {
    EXPECT_EQ(platform::SendMessageA(window_, kAnswered, 5, 0), 15);
    EXPECT_EQ(platform::SendMessageA(window_, WM_QUERYDRAGICON, 0, 0), 0x1234) << "returned directly";
    EXPECT_EQ(platform::SendMessageA(window_, WM_APP + 9, 0, 0), 0) << "left to default processing";
}

TEST_F(WindowContract, PostedCommandsArriveInOrderOnlyWhenMessagesAreDelivered) {
    EXPECT_TRUE(platform::PostMessageA(window_, WM_COMMAND, kCommand, 0));
    EXPECT_TRUE(platform::PostMessageA(window_, WM_COMMAND, IDCANCEL, 0));
    EXPECT_TRUE(ReceivedOf(WM_COMMAND).empty());
    EXPECT_TRUE(PumpUntil([] { return ReceivedOf(WM_COMMAND).size() == 2; }));
    const auto commands = ReceivedOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, kCommand);
    EXPECT_EQ(commands[0].lParam, 0);
    EXPECT_EQ(commands[1].wParam, static_cast<WParam>(IDCANCEL));
}

TEST_F(WindowContract, ATimerTicksOnTheWindowsThreadUntilItIsKilled) {
    EXPECT_EQ(platform::SetTimer(window_, 7, 200), 7u);
    PumpUntil([] { return true; });
    EXPECT_TRUE(ReceivedOf(WM_TIMER).empty()) << "no tick before its period";
    LetTimePass(700);
    const auto ticks = ReceivedOf(WM_TIMER);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.size(), 3u);
    EXPECT_EQ(ticks[0].wParam, 7u);
    EXPECT_EQ(ticks[0].thread, std::this_thread::get_id());
    EXPECT_TRUE(platform::KillTimer(window_, 7));
    EXPECT_FALSE(platform::KillTimer(window_, 7)) << "already gone";
    LetTimePass(250);
    EXPECT_EQ(ReceivedOf(WM_TIMER).size(), ticks.size());
}

TEST_F(WindowContract, AMessageBoxDeliversTheWindowsTimersAndPostedCommandsWhileItIsUp) {
    platform::SetTimer(window_, 7, 50);
    platform::SetTimer(window_, kStopTimer, 50);
    platform::PostMessageA(window_, WM_COMMAND, kCommand, 0);
    AnswerBoxesOnThisThread({{IDOK, 400}});
    boxUp = true;
    EXPECT_EQ(platform::MessageBoxA(window_, "Copying.", "Updater", MB_OK), IDOK);
    boxUp = false;
    const auto commands = ReceivedOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_TRUE(commands[0].boxUp);
    std::size_t ticksWhileUp = 0, stopTicks = 0;
    for (const Received& tick : ReceivedOf(WM_TIMER)) {
        ticksWhileUp += tick.boxUp && tick.wParam == 7;
        stopTicks += tick.wParam == kStopTimer;
    }
    EXPECT_GE(ticksWhileUp, 2u);
    EXPECT_EQ(stopTicks, 1u) << "killed at its first tick, while the box was up";
    platform::KillTimer(window_, 7);
}

TEST_F(WindowContract, MessageBoxesAreOwnedAndEachThreadGetsItsOwnAnswers) {
    AnswerBoxesOnThisThread({{IDNO}});
    std::atomic<int> workersAnswer{0};
    std::thread worker([&] {
        AnswerBoxesOnThisThread({{IDOK}});
        workersAnswer = platform::MessageBoxA(window_, "Disk is full.", "Updater", MB_OKCANCEL);
    });
    EXPECT_TRUE(PumpUntil([&] { return workersAnswer != 0; }));
    worker.join();
    EXPECT_EQ(workersAnswer, IDOK);
    EXPECT_EQ(platform::MessageBoxA(window_, "Exit?", "Confirmation", MB_YESNO), IDNO);
    const auto boxes = BoxesShown();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, window_);
    EXPECT_EQ(boxes[0].text, "Disk is full.");
    EXPECT_EQ(boxes[0].caption, "Updater");
    EXPECT_EQ(boxes[0].buttons, MB_OKCANCEL);
    EXPECT_EQ(boxes[1].owner, window_);
    EXPECT_EQ(boxes[1].buttons, MB_YESNO);
}

TEST_F(WindowContract, AClickOnADisabledButtonStillReachesTheDialogAsUnderWine) {
    // Windows drops a click on a disabled button; Wine delivers it. The simulation follows Wine so
    // that the program's own check of the button is what keeps such a click out.
    const WindowHandle button = platform::GetDlgItem(window_, IDOK);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(platform::EnableWindow(button, false));
    EXPECT_FALSE(platform::IsWindowEnabled(button));
    platform::SendMessageA(button, 0x00F5 /* BM_CLICK */, 0, 0);
    PumpUntil([] { return !ReceivedOf(WM_COMMAND).empty(); });
    const auto commands = ReceivedOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WParam>(IDOK) | (WParam{BN_CLICKED} << 16));
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LParam>(button));
}

TEST_F(WindowContract, AControlDisabledWithTheFocusLeavesNoneAndTheNextControlMessageGivesItBack) {
    const WindowHandle button = platform::GetDlgItem(window_, IDOK);
    ASSERT_NE(button, nullptr);
    platform::SetFocus(button);
    EXPECT_EQ(platform::GetFocus(), button);
    platform::EnableWindow(button, false);
    EXPECT_EQ(platform::GetFocus(), nullptr) << "the keyboard reaches no control now";
    platform::EnableWindow(button, true);
    EXPECT_EQ(platform::GetFocus(), nullptr) << "enabling gives no focus back";
    platform::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WParam>(button), 1);
    EXPECT_EQ(platform::GetFocus(), button);
}

TEST_F(WindowContract, ALiveRegionChangeReachesAListenerWithTheTextItsControlHolds) {
    const WindowHandle control = platform::GetDlgItem(window_, IDOK);
    for (const char* text : {"Ready", "Downloading"}) {
        platform::SetWindowTextA(control, text);
        platform::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
    }
    EXPECT_TRUE(PumpUntil([this] { return LiveRegionEventsSeen().size() >= 2; }));
    LetTimePass(100); // and no more arrive
    const auto seen = LiveRegionEventsSeen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].window, control);
    EXPECT_EQ(seen[0].objectId, OBJID_CLIENT);
    EXPECT_EQ(seen[0].childId, CHILDID_SELF);
    EXPECT_EQ(seen[1].text, "Downloading");
}

TEST_F(WindowContract, ThePropertyServiceNeedsComOnTheThreadAndMarksALiveRegionWhereTheSystemCan) {
    const WindowHandle control = platform::GetDlgItem(window_, IDOK);
    std::thread([&] { // a thread of its own: nothing else gave it COM
        EXPECT_FALSE(platform::AccPropServices().IsAvailable()) << "without COM";
        ASSERT_TRUE(platform::CoInitializeEx(COINIT_APARTMENTTHREADED));
        {
            platform::AccPropServices service;
            EXPECT_TRUE(service.IsAvailable());
            const bool set = service.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF,
                                                 platform::AccProperty::LiveSetting, platform::Polite);
            // Windows 8 and later keep the setting; Wine 8 answers E_NOTIMPL, as Windows 7 has none.
            EXPECT_EQ(set, !UnderWine());
            EXPECT_EQ(service.ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF,
                                             platform::AccProperty::LiveSetting),
                      set);
        }
        platform::CoUninitialize();
    })
        .join();
}

} // namespace
