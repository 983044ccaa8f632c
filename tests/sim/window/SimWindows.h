#pragma once
// The simulated window system behind platform/Window.h and platform/Process.h on the host.
//
// - Dialogs are built from the program's real resource script (ResourceScript.h): every control
//   with its id, class, text, styles and visibility. A window belongs to the thread that created
//   its dialog, its UI thread.
// - A test opens a dialog without blocking with OpenDialog(), then sends messages (delivered at
//   once on the UI thread), posts them, and calls PumpMessages() to deliver what is queued. A dialog
//   run by DialogBoxParamA delivers queued messages itself and, whenever nothing is queued, runs the
//   next step the test gave ScriptDialog(); a modal dialog still open when its steps run out is a
//   failure and ends with -1. Ended dialogs are destroyed once their loop regains control (for
//   OpenDialog: at the next pump); DialogResult() still answers afterwards.
// - SendMessageA from another thread queues the message for the UI thread and waits until a pump
//   there handles it. Timers belong to the UI thread: SetTimer/KillTimer elsewhere are failures.
// - Time stands still unless the test moves it: AdvanceTime() delivers each WM_TIMER as it falls
//   due, in order, pumping in between; Sleep() moves the clock without delivering anything, so a
//   timer that fell due meanwhile fires once at the next pump (as Win32 coalesces them).
// - Message boxes take their answers from ScriptMessageBoxes(), in order, and every box is
//   recorded. An unscripted box with only an OK button answers IDOK; any other unscripted box is a
//   failure and answers 0 ("could not be shown").
// - BeginThread runs threads as SetThreadMode() says (see ThreadMode).
// - TakeFailures() hands over what went wrong inside the sim; a test fixture reports it. Reset() returns
//   everything to its start, after waiting for the real threads.
// Thread-safe throughout; no lock is held while a dialog procedure or a test callback runs.
#include "platform/Window.h"
#include "sim/window/ResourceScript.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform::sim {

// A button sends WM_COMMAND with BN_CLICKED to its dialog, even while disabled (as under Wine).
inline constexpr unsigned kButtonClick = 0x00F5; // BM_CLICK
inline constexpr unsigned kClose = 0x0010;       // WM_CLOSE: an unhandled one becomes IDCANCEL

// --- Dialogs -------------------------------------------------------------------------------------

// Creates the dialog of template `templateId` on this thread and delivers WM_INITDIALOG with
// `param`; returns its handle, or null when the script has no such template.
WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param, WindowHandle owner = nullptr);

using DialogStep = std::function<void(WindowHandle dialog)>;
// Steps for the next modal run of `templateId`; each runs when the dialog's loop has nothing queued.
void ScriptDialog(int templateId, std::vector<DialogStep> steps);

struct OpenedDialog {
    int templateId;
    WindowHandle dialog;
    WindowHandle owner;
};
std::vector<OpenedDialog> OpenedDialogs();

// The value given to EndDialog, once the dialog has ended.
std::optional<LResult> DialogResult(WindowHandle dialog);
bool IsWindow(WindowHandle window);

// Sends BM_CLICK to control `id` of the dialog.
void Click(WindowHandle dialog, int id);

// --- Reading windows back ------------------------------------------------------------------------

std::string WindowText(WindowHandle window);
std::string ClassName(WindowHandle window);
unsigned Style(WindowHandle window);
unsigned ExStyle(WindowHandle window);
// The dialog's controls in tab order.
std::vector<WindowHandle> Children(WindowHandle dialog);
int ControlId(WindowHandle control);
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
// The items the program appended to the window's system menu.
std::vector<MenuItem> SystemMenuItems(WindowHandle window);
enum class SystemMenuRule {
    WhenStyled, // only a window with WS_SYSMENU has one, as under Wine (the start)
    Always,     // every dialog has one
};
void SetSystemMenuRule(SystemMenuRule rule);

// The icon set with WM_SETICON (ICON_BIG or ICON_SMALL), or null.
IconHandle WindowIcon(WindowHandle window, int which);
// The period of a running timer, or none.
std::optional<unsigned> TimerPeriod(WindowHandle window, std::uintptr_t id);

struct DeliveredMessage {
    WindowHandle window;
    unsigned message;
    WParam wParam;
    LParam lParam;
    std::thread::id thread;
};
// Every message that reached a window procedure since the reset, in order.
std::vector<DeliveredMessage> DeliveredMessages();

// --- Painting ------------------------------------------------------------------------------------

// A dialog's client area starts at its template size at 6 × 13 pixels per 4 × 8 dialog units.
void SetClientSize(WindowHandle window, int width, int height);
void SetIconic(WindowHandle window, bool iconic);
// SM_CXICON and SM_CYICON start at 32; every other metric at 0.
void SetSystemMetric(int index, int value);

struct DrawnIcon {
    DeviceContext context;
    int x, y;
    IconHandle icon;
};
std::vector<DrawnIcon> DrawnIcons();
// The device context of the paint scope `window` has open, or null.
DeviceContext OpenPaintContext(WindowHandle window);

// --- Messages and time ---------------------------------------------------------------------------

// On the UI thread: delivers queued messages (those sent from other threads first) and due
// timers until nothing is left.
void PumpMessages();
// On the UI thread: pumps, waiting for other threads' messages, until `done` holds or the real-time
// `deadline` passes (a failure). Returns done(). For tests with real threads only.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));
// On the UI thread: moves the clock by `milliseconds`, delivering due timers in order.
void AdvanceTime(unsigned milliseconds);
std::uint64_t Now();

// --- Message boxes -------------------------------------------------------------------------------

struct BoxAnswer {
    int button;
    // Runs on the box's thread while the box is up, as the box's own message loop would.
    std::function<void()> whileShown = {};
};
void ScriptMessageBoxes(std::vector<BoxAnswer> answers);

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
    Real,     // each BeginThread starts a std::thread; wait for them with WaitForThreads()
    Inline,   // the procedure runs to its end inside BeginThread, on the caller's thread
    Deferred, // held until RunDeferredThreads(), which runs them on the caller's thread
};
void SetThreadMode(ThreadMode mode);
// Runs the held procedures in start order (and any they start meanwhile); returns how many ran.
int RunDeferredThreads();
// On the UI thread: pumps until every real thread has ended, or the real-time deadline (a failure).
bool WaitForThreads(std::chrono::milliseconds deadline = std::chrono::seconds(10));
int ThreadsStarted();

// --- Test bookkeeping ----------------------------------------------------------------------------

// Returns the failures recorded since the last call and forgets them.
std::vector<std::string> TakeFailures();
// Answers pending cross-thread sends with 0, waits for real threads, then forgets every window,
// message, timer, box, script, drawing and failure, and sets the clock, metrics, command line,
// system-menu rule and thread mode back to their start.
void Reset();

} // namespace platform::sim
