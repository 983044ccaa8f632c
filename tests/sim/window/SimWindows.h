#pragma once
// The simulated window system behind platform/Window.h and platform/Process.h on the host. It
// imitates what the program's code calls and observes, no more: dialogs whose controls are known by
// id (text, enabled, visible, focus, progress), sent and posted messages, timers under the test's
// clock, message boxes with scripted answers, threads. Layout, styles and painting are the real
// system's matter and are checked under Wine.
//
// - A window belongs to the thread that opened its dialog, its window thread. A test opens a dialog
//   without a loop with OpenDialog(), or the program runs one with DialogBoxParamA, whose loop
//   delivers what is queued and, when nothing is, runs the next step given to ScriptDialog().
// - SendMessageA from another thread queues the message and waits until the window thread has
//   handled it in a message loop (a pump, a modal dialog's or a message box's).
// - Time stands still unless the test moves it: AdvanceTime() delivers each WM_TIMER as it falls
//   due; Sleep() only moves the clock, and a timer overdue meanwhile fires once at the next pump.
// - A message box on a window thread runs a modal loop: it delivers that thread's messages and due
//   timers, lets `meanwhile` happen, and stays up for `upForMs` of the clock before it answers.
//   Answers are scripted per kind of thread, so a worker's box never takes the window's answer. An
//   unscripted box with only OK answers IDOK; any other unscripted box is a failure and answers 0.
// - TakeFailures() hands over what went wrong inside the simulation; Reset() starts afresh.
// Thread-safe; no lock is held while a dialog procedure or a test callback runs.
#include "platform/Window.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform::sim {

inline constexpr unsigned kButtonClick = 0x00F5; // BM_CLICK: WM_COMMAND BN_CLICKED, even when disabled

// --- Dialogs -------------------------------------------------------------------------------------

struct ControlDefinition {
    int id;
    std::string text = {};
    bool visible = true;
};
struct DialogDefinition {
    std::vector<ControlDefinition> controls;
    int firstTabStop = 0;    // gets the focus when WM_INITDIALOG answers nonzero; 0 for none
    bool systemMenu = false; // whether GetSystemMenu finds one
};
// The template `templateId` as the program's resources define it; without one a dialog fails.
void DefineDialog(int templateId, DialogDefinition definition);
void DefineString(int id, std::string text);

// Creates the dialog on this thread and delivers WM_INITDIALOG with `param`; null without a template.
WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param, WindowHandle owner = nullptr);

using DialogStep = std::function<void(WindowHandle dialog)>;
// Steps for the next modal run of `templateId`; each runs when the dialog's loop has nothing queued.
// A modal dialog still open when its steps run out is a failure and ends with -1.
void ScriptDialog(int templateId, std::vector<DialogStep> steps);

struct OpenedDialog {
    int templateId;
    WindowHandle dialog;
    WindowHandle owner;
};
std::vector<OpenedDialog> OpenedDialogs();
// The value given to EndDialog, once the dialog has ended.
std::optional<LResult> DialogResult(WindowHandle dialog);
// Sends BM_CLICK to control `id` of the dialog.
void Click(WindowHandle dialog, int id);

// --- Reading windows back ------------------------------------------------------------------------

std::string Text(WindowHandle window);
std::string Text(WindowHandle dialog, int id);
bool Visible(WindowHandle window);
WindowHandle Focus();
struct ProgressState {
    int low = 0, high = 100, position = 0;
};
ProgressState Progress(WindowHandle progressBar);
struct MenuItem {
    unsigned flags;
    std::uintptr_t id;
    std::string text;
};
std::vector<MenuItem> SystemMenuItems(WindowHandle window);
// The icon set with WM_SETICON (ICON_BIG or ICON_SMALL), or null.
IconHandle WindowIcon(WindowHandle window, int which);
// The period of a running timer, or none.
std::optional<unsigned> TimerPeriod(WindowHandle window, std::uintptr_t id);
struct DeliveredMessage {
    WindowHandle window;
    unsigned message;
    WParam wParam;
    LParam lParam;
};
// Every message that reached a window since the reset, in order.
std::vector<DeliveredMessage> DeliveredMessages();

// --- Minimised painting --------------------------------------------------------------------------

void SetIconic(WindowHandle window, bool iconic);
void SetClientSize(WindowHandle window, int width, int height);
// SM_CXICON and SM_CYICON start at 32, every other metric at 0.
void SetSystemMetric(int index, int value);
struct DrawnIcon {
    DeviceContext context;
    int x, y;
    IconHandle icon;
};
std::vector<DrawnIcon> DrawnIcons();

// --- Messages and time ---------------------------------------------------------------------------

// On a window thread: delivers its queued messages (sent ones first) and due timers until none is left.
void PumpMessages();
// Pumps, waiting for other threads, until `done` holds or the real-time deadline passes (a failure).
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));
// Moves the clock by `milliseconds`, delivering this thread's timers in due order.
void AdvanceTime(unsigned milliseconds);
std::uint64_t Now();

// --- Message boxes -------------------------------------------------------------------------------

enum class BoxThread {
    Window, // shown on a thread that owns a window
    Worker, // shown on any other thread
};
struct BoxAnswer {
    int button;
    unsigned upForMs = 0;                 // clock time the box stays up, its timers firing meanwhile
    std::function<void()> meanwhile = {}; // what else happens while the box is up
};
void ScriptMessageBoxes(std::vector<BoxAnswer> answers, BoxThread thread = BoxThread::Window);
struct ShownMessageBox {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned type;
    std::thread::id thread;
    int answer;
};
std::vector<ShownMessageBox> ShownMessageBoxes();

// --- Process -------------------------------------------------------------------------------------

// Starts as "\"Tolvo Firmware Updater.exe\"".
void SetCommandLine(std::string commandLine);
enum class ThreadMode {
    Real, // each BeginThread starts a thread at once
    Held, // held until ReleaseHeldThreads() starts them
};
void SetThreadMode(ThreadMode mode);
void ReleaseHeldThreads();
// On the window thread: pumps until every started thread has ended, or the deadline (a failure).
bool WaitForThreads(std::chrono::milliseconds deadline = std::chrono::seconds(10));
int ThreadsStarted();

// --- Bookkeeping ---------------------------------------------------------------------------------

// The failures recorded since the last call.
std::vector<std::string> TakeFailures();
// Answers pending sends with 0, waits for running threads, then forgets everything but the
// definitions of dialogs and strings.
void Reset();

} // namespace platform::sim
