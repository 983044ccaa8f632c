#pragma once
// Windows, dialogs, controls, timers, message boxes and painting. Every call keeps the platform's
// name and contract; handles are never owned by the caller unless a line says so.
#include "platform/Types.h"
#include "platform/WindowMessages.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct MenuTag;
using MenuHandle = MenuTag*;
struct IconTag;
using IconHandle = IconTag*; // shared resource icon; never destroyed by the caller
struct DeviceContextTag;
using DeviceContext = DeviceContextTag*;
struct BitmapTag;
using BitmapHandle = BitmapTag*; // owned by whoever loaded it, freed with DeleteObject

// The platform's RECT, laid out as it is: the rectangle of a WM_DPICHANGED is read as one.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Dialog procedure: returns nonzero when it handled the message, zero for default processing. The
// answer of a handled message travels in DWLP_MSGRESULT, except for the few messages whose answer
// the procedure returns itself (WM_INITDIALOG, WM_QUERYDRAGICON).
using DialogProc = LResult (*)(WindowHandle dialog, unsigned message, WParam wParam, LParam lParam);

// Runs the program's dialog template `templateId` modally; `param` arrives as the lParam of
// WM_INITDIALOG. Returns the result given to EndDialog, or -1 when the dialog cannot be created.
LResult DialogBoxParamA(int templateId, WindowHandle owner, DialogProc proc, LParam param);
// Ends the modal loop of `dialog` once the current message returns; false for a bad handle.
bool EndDialog(WindowHandle dialog, LResult result);

// A dialog's slots DWLP_MSGRESULT and DWLP_USER. Set returns the slot's previous value, 0 on failure.
LParam SetWindowLongPtrA(WindowHandle dialog, int index, LParam value);
LParam GetWindowLongPtrA(WindowHandle dialog, int index);

// Null when the dialog has no control `id`.
WindowHandle GetDlgItem(WindowHandle dialog, int id);
bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text);
bool SetWindowTextA(WindowHandle window, const char* text);
// Returns whether the window was visible before.
bool ShowWindow(WindowHandle window, int command);
// Returns whether the window was disabled before.
bool EnableWindow(WindowHandle window, bool enable);
bool IsWindowEnabled(WindowHandle window);
bool IsIconic(WindowHandle window);
// Returns the window that had the focus, or null.
WindowHandle SetFocus(WindowHandle window);
// The window of this thread that has the keyboard focus, or null (also after it was disabled).
WindowHandle GetFocus();
// Empty when the dialog has no control `id`.
std::string GetDlgItemTextA(WindowHandle dialog, int id);
// Moves and sizes `window` (screen pixels for a top-level window); SWP_* flags.
bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                  unsigned flags);

// Only the program's entry calls these three, so the simulated machine has none of them.
// The top-level window of class `className` titled `title` in this session, or null.
WindowHandle FindWindowA(const char* className, const char* title);
// The window `owner`'s modal box or dialog last active, or `owner` itself when it has none.
WindowHandle GetLastActivePopup(WindowHandle owner);
// Brings `window` to the front and gives it the keyboard; false when the system refuses.
bool SetForegroundWindow(WindowHandle window);

// Delivers the message and waits for its result; from another thread, the window's own thread
// handles it while the caller waits.
LResult SendMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam);
// Queues the message for the window's thread and returns at once; false when it cannot be queued.
bool PostMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam);

// Starts or replaces timer `id` of `window`, which then receives WM_TIMER every `milliseconds`.
// Timers belong to the window's thread: call these on that thread only. Returns 0 on failure.
std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds);
bool KillTimer(WindowHandle window, std::uintptr_t id);

// Modal message box owned by `owner`; returns the id of the button that closed it (IDOK, IDYES…),
// or 0 when it could not be shown.
int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned type);
// The application's default caption: the executable's file name without its extension.
std::string ApplicationName();

// Null when the window has no system menu.
MenuHandle GetSystemMenu(WindowHandle window, bool revert);
bool AppendMenuA(MenuHandle menu, unsigned flags, std::uintptr_t id, const char* text);

// Empty when the program has no string `id`.
std::string LoadStringA(int id);
// Null when the program has no icon `id`.
IconHandle LoadIconA(int id);
// The program's bitmap `id` (IMAGE_BITMAP) stretched to `width` x `height` pixels, or at its own
// size when both are 0; null when there is no such bitmap. The caller owns it.
BitmapHandle LoadImageA(int id, unsigned type, int width, int height);
bool DeleteObject(BitmapHandle bitmap);
struct BitmapDeleter {
    void operator()(BitmapHandle bitmap) const { DeleteObject(bitmap); }
};
using OwnedBitmap = std::unique_ptr<BitmapTag, BitmapDeleter>;
// Dots per inch the window is laid out for (96 at 100 % scale).
unsigned GetDpiForWindow(WindowHandle window);
// Converts `rect` from the dialog's units to its pixels; false when that fails.
bool MapDialogRect(WindowHandle dialog, Rect* rect);

// Paints between construction and destruction (BeginPaint / EndPaint).
class PaintScope {
public:
    explicit PaintScope(WindowHandle window);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    DeviceContext Context() const { return context_; }

private:
    WindowHandle window_;
    DeviceContext context_;
    void* state_; // the platform's paint record
};
Rect GetClientRect(WindowHandle window);
int GetSystemMetrics(int index);
bool DrawIcon(DeviceContext context, int x, int y, IconHandle icon);

} // namespace platform
