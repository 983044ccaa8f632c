#pragma once
// The simulated window system behind platform/Window.h and platform/Process.h on the host.
// - A dialog opens without a loop on the thread that then owns it, and goes at the next pump once
//   ended. A modal dialog is a failure: the Windows tier runs those. Nothing is drawn (96 DPI).
// - A send from another thread waits until the window's thread pumps or shows a message box.
// - The clock moves only by AdvanceTime(), which delivers each WM_TIMER as it falls due, and Sleep();
//   a timer overdue after a Sleep() fires once at the next pump.
// - A message box on a window's thread delivers that thread's messages, lets `meanwhile` happen and
//   stays up for `upForMs`. Unscripted, a box with only OK answers IDOK; any other fails with 0.
// - TakeFailures() hands over what went wrong inside; Reset() forgets all but the definitions.
// Thread-safe; no lock is held while a dialog procedure or a test callback runs.
#include "platform/Window.h"

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform::sim {

inline constexpr unsigned kButtonClick = 0x00F5; // BM_CLICK: WM_COMMAND BN_CLICKED, even when disabled

struct ControlDefinition {
    int id;
    std::string text = {};
    bool visible = true;
};
// A dialog template's controls as the program's resources define them, in tab order: the first is
// a tab stop. A dialog without a template fails.
void DefineDialog(int templateId, std::vector<ControlDefinition> controls);

// Creates the dialog on this thread and delivers WM_INITDIALOG with `param`; null without a template.
WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param);
void Click(WindowHandle dialog, int id); // BM_CLICK to control `id`

// What a test reads back of a window, also after it is gone.
struct WindowState {
    std::string text = {};
    bool visible = false;
    struct {
        int low = 0, high = 100, position = 0;
    } progress = {};
    std::optional<LResult> result = {}; // given to EndDialog
};
WindowState Inspect(WindowHandle window);
std::optional<unsigned> TimerPeriod(WindowHandle window, std::uintptr_t id);
struct DeliveredMessage {
    WindowHandle window;
    unsigned message;
    WParam wParam;
    LParam lParam;
};
std::vector<DeliveredMessage> DeliveredMessages(); // since the reset, in order

// Delivers this thread's queued messages (sent ones first) and due timers until none is left.
void PumpMessages();
// Pumps, waiting for other threads, until `done` holds or ten seconds of real time pass (a failure).
bool PumpUntil(const std::function<bool()>& done);
// Moves the clock, delivering this thread's timers in due order.
void AdvanceTime(unsigned milliseconds);
std::uint64_t Now();

enum class BoxThread { Window, Worker }; // shown on a thread that owns a window, or on another
struct BoxAnswer {
    int button;
    unsigned upForMs = 0;                 // the clock moves on while the box is up
    std::function<void()> meanwhile = {}; // what else happens while the box is up
};
void ScriptMessageBoxes(std::vector<BoxAnswer> answers, BoxThread thread = BoxThread::Window);
struct ShownMessageBox {
    WindowHandle owner;
    std::string text, caption;
    unsigned type;
    std::thread::id thread;
};
std::vector<ShownMessageBox> ShownMessageBoxes();

// From now until the reset, BeginThread starts nothing until ReleaseHeldThreads().
void HoldThreads();
void ReleaseHeldThreads();
// From now until the reset, BeginThread starts nothing and fails, as when the system has no thread to give.
void RefuseThreads();
// Pumps until every started thread has ended, or the real-time deadline (a failure).
bool WaitForThreads();
int ThreadsStarted();

std::vector<std::string> TakeFailures();
void Reset();

} // namespace platform::sim
