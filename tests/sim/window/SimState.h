#pragma once
// The simulated window system's shared state, behind one lock. Internal to tests/sim/window.
#include "sim/window/SimWindows.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace platform::sim::detail {

struct Window {
    WindowHandle parent = nullptr;
    int id = 0;
    int templateId = 0;
    std::string className;
    std::string text;
    unsigned style = 0;
    unsigned exStyle = 0;
    bool visible = true;
    bool enabled = true;
    bool iconic = false;
    bool destroyed = false;
    bool modeless = false;
    DialogProc proc = nullptr; // dialogs only; controls answer through ControlProcedure
    std::thread::id thread;
    std::optional<LResult> result;
    std::vector<WindowHandle> children;
    ProgressState progress;
    int clientWidth = 0;
    int clientHeight = 0;
    IconHandle bigIcon = nullptr;
    IconHandle smallIcon = nullptr;
    std::vector<MenuItem> systemMenu;
};

struct Reply {
    bool done = false;
    LResult result = 0;
};

struct QueuedMessage {
    WindowHandle window;
    unsigned message;
    WParam wParam;
    LParam lParam;
    std::thread::id thread;
    std::shared_ptr<Reply> reply; // null for a posted message
};

struct Timer {
    unsigned period;
    std::uint64_t due;
    std::uint64_t order;
    std::thread::id thread;
};

using ThreadProc = std::pair<void (*)(void*), void*>;

// Everything Reset() returns to its start.
struct Data {
    std::uintptr_t lastHandle = 0x10000;
    std::map<WindowHandle, Window> windows;
    std::deque<QueuedMessage> queue;
    std::map<std::pair<WindowHandle, std::uintptr_t>, Timer> timers;
    std::uint64_t timerOrder = 0;
    std::uint64_t now = 0;
    WindowHandle focus = nullptr;
    std::map<int, std::deque<std::vector<DialogStep>>> dialogScripts;
    std::vector<OpenedDialog> opened;
    std::deque<BoxAnswer> boxAnswers;
    std::vector<ShownMessageBox> boxes;
    std::vector<DeliveredMessage> delivered;
    std::map<int, int> metrics = {{SM_CXICON, 32}, {SM_CYICON, 32}};
    std::vector<DrawnIcon> drawnIcons;
    std::map<WindowHandle, DeviceContext> paints;
    std::string commandLine = "\"Tolvo Firmware Updater.exe\"";
    SystemMenuRule systemMenuRule = SystemMenuRule::WhenStyled;
    ThreadMode threadMode = ThreadMode::Real;
    std::vector<std::thread> threads;
    int runningThreads = 0;
    int startedThreads = 0;
    std::deque<ThreadProc> deferredThreads;
    std::vector<std::string> failures;
};

struct State {
    std::mutex lock;
    std::condition_variable changed;
    Data data;
};

State& TheState();

// With the lock held: the live window, or null for an unknown or destroyed handle.
Window* Find(Data& data, WindowHandle handle);
// With the lock held: a fresh handle value, never reused.
template <typename Tag> Tag* NewHandle(Data& data) {
    data.lastHandle += 0x10;
    return reinterpret_cast<Tag*>(data.lastHandle);
}
// With the lock held: destroys the dialog and its controls, stops their timers and answers the
// messages still queued for them (sent ones with 0).
void DestroyDialog(Data& data, WindowHandle dialog);
void AddFailure(std::string what);

// Runs the window's procedure on this thread, with the lock released; 0 for a dead window.
LResult Deliver(WindowHandle window, unsigned message, WParam wParam, LParam lParam);
// Delivers one queued message or due timer of this thread; false when there is none.
bool PumpOne();

bool SameText(std::string_view a, std::string_view b);

} // namespace platform::sim::detail
