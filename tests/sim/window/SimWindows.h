#pragma once
// The simulated window system behind platform/Window.h and platform/Process.h on the host.
// - A dialog opens without a loop, on the thread that owns it from then on; its controls are known by
//   id. An ended dialog goes at the next pump. A modal dialog is a failure: the Windows tier runs them.
// - SendMessageA from another thread waits until the window's thread handles the message in a loop
//   (a pump or a message box).
// - Time moves only when the test moves it: AdvanceTime() delivers each WM_TIMER as it falls due;
//   Sleep() only moves the clock, and a timer overdue meanwhile fires once at the next pump.
// - A message box on a window's thread is a modal loop: it delivers that thread's messages, lets
//   `meanwhile` happen and stays up for `upForMs`. Answers are scripted per kind of thread. An
//   unscripted box with only OK answers IDOK; any other is a failure and answers 0.
// - The host draws nothing: no system menu, 96 DPI, never minimised; Wine checks the rest.
// - TakeFailures() hands over what went wrong inside; Reset() forgets all but the definitions.
// Thread-safe; no lock is held while a dialog procedure or a test callback runs.
#include "platform/Window.h"

#include <chrono>
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
struct DialogDefinition {
    std::vector<ControlDefinition> controls;
    int firstTabStop = 0; // the control that gets the focus when WM_INITDIALOG answers nonzero
};
// A dialog template as the program's resources define it; a dialog without one fails.
void DefineDialog(int templateId, DialogDefinition definition);

// Creates the dialog on this thread and delivers WM_INITDIALOG with `param`; null without a template.
WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param);
void Click(WindowHandle dialog, int id); // BM_CLICK to control `id`

struct ProgressState {
    int low = 0, high = 100, position = 0;
};
// What a test reads back of a window, also after it is gone.
struct WindowState {
    std::string text;
    bool visible = false, enabled = false;
    ProgressState progress;
    std::optional<LResult> result; // given to EndDialog
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
// Pumps, waiting for other threads, until `done` holds or the real-time deadline passes (a failure).
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));
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
// Pumps until every started thread has ended, or the real-time deadline (a failure).
bool WaitForThreads();
int ThreadsStarted();

std::vector<std::string> TakeFailures();
void Reset();

} // namespace platform::sim
