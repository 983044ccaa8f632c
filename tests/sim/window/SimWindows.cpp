#include "sim/window/SimWindows.h"

#include "platform/Process.h"
#include "sim/window/SimAccessibility.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {
namespace {

using namespace sim;

struct Window {
    WindowState state;
    WindowHandle parent = nullptr; // a control's dialog
    int id = 0;
    DialogProc proc = nullptr; // null for a control
    std::thread::id thread;
    bool enabled = true, destroyed = false;
    std::map<int, LParam> longs = {}; // DWLP_* slots
};
struct Queued {
    DeliveredMessage sent;
    std::shared_ptr<std::optional<LResult>> reply; // null for a posted message
};
struct Timer {
    unsigned period;
    std::uint64_t due, order;
};
struct Data {
    std::map<int, std::vector<ControlDefinition>> definitions;
    std::map<WindowHandle, Window> windows;
    std::deque<Queued> queue;
    std::map<std::pair<WindowHandle, std::uintptr_t>, Timer> timers;
    std::uint64_t timerOrder = 0, now = 0;
    WindowHandle focus = nullptr;
    std::deque<BoxAnswer> answers[2]; // by BoxThread
    std::vector<ShownMessageBox> boxes;
    std::vector<DeliveredMessage> delivered;
    bool holdThreads = false;
    bool refuseThreads = false;
    std::vector<std::thread> threads; // started; joined once ended
    std::vector<std::pair<void (*)(void*), void*>> held;
    int running = 0;
    std::vector<std::string> failures;
};

std::mutex lock;
std::condition_variable changed;
Data data;

template <typename Use> auto Locked(Use&& use) {
    std::lock_guard hold(lock);
    return use(data);
}
// With the lock held: the live window, or null.
Window* Find(WindowHandle handle) {
    const auto found = data.windows.find(handle);
    return found == data.windows.end() || found->second.destroyed ? nullptr : &found->second;
}
// Runs `use` on the live window under the lock, or returns `otherwise`.
template <typename Result, typename Use> Result With(WindowHandle handle, Result otherwise, Use&& use) {
    std::lock_guard hold(lock);
    Window* window = Find(handle);
    return window == nullptr ? otherwise : use(*window);
}
void AddFailure(std::string what) {
    Locked([&](Data& d) { d.failures.push_back(std::move(what)); });
}

// With the lock held: the windows go, a dialog with its controls and timers; sends to them get 0.
void Destroy(WindowHandle dialog) {
    for (auto& [handle, window] : data.windows) {
        window.destroyed = window.destroyed || handle == dialog || window.parent == dialog;
    }
    std::erase_if(data.timers, [](const auto& timer) { return Find(timer.first.first) == nullptr; });
    std::erase_if(data.queue, [](const Queued& queued) {
        const bool gone = Find(queued.sent.window) == nullptr;
        if (gone && queued.reply) {
            *queued.reply = 0;
        }
        return gone;
    });
    changed.notify_all();
}

LResult Deliver(WindowHandle handle, unsigned message, WParam wParam, LParam lParam);

// What a button and a progress bar do with the messages the program sends them.
LResult ControlProcedure(WindowHandle control, unsigned message, WParam wParam, LParam lParam) {
    if (message == kButtonClick) {
        const auto [dialog, id] = With(control, std::pair<WindowHandle, int>{},
                                       [](Window& window) { return std::pair(window.parent, window.id); });
        const auto command = static_cast<WParam>(id & 0xFFFF) | (WParam{BN_CLICKED} << 16);
        return Deliver(dialog, WM_COMMAND, command, reinterpret_cast<LParam>(control));
    }
    if (message != PBM_SETRANGE && message != PBM_SETPOS) {
        return 0;
    }
    return With(control, LResult{}, [&](Window& window) {
        auto& bar = window.state.progress;
        if (message == PBM_SETRANGE) {
            bar.low = static_cast<int>(lParam & 0xFFFF);
            bar.high = static_cast<int>((lParam >> 16) & 0xFFFF);
        }
        const int position = message == PBM_SETPOS ? static_cast<int>(wParam) : bar.position;
        bar.position = std::clamp(position, bar.low, std::max(bar.low, bar.high)); // as the real bar clamps
        return LResult{};
    });
}

// Runs the window's procedure on this thread: a control's own, or the dialog's and, when that
// leaves the message, the default processing the program relies on.
LResult Deliver(WindowHandle handle, unsigned message, WParam wParam, LParam lParam) {
    const auto [live, proc] = With(handle, std::pair<bool, DialogProc>{}, [&](Window& window) {
        data.delivered.push_back({handle, message, wParam, lParam});
        return std::pair(true, window.proc);
    });
    if (!live || proc == nullptr) {
        return live ? ControlProcedure(handle, message, wParam, lParam) : 0;
    }
    if (const LResult answer = proc(handle, message, wParam, lParam); answer != 0) {
        const bool direct = message == WM_INITDIALOG || message == WM_QUERYDRAGICON;
        return direct ? answer : GetWindowLongPtrA(handle, DWLP_MSGRESULT);
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == 0xF060 /* SC_CLOSE */) {
        PostMessageA(handle, WM_COMMAND, static_cast<WParam>(IDCANCEL), 0);
    }
    if (message == WM_NEXTDLGCTL && lParam != 0) { // to the control in wParam; by direction is not simulated
        SetFocus(reinterpret_cast<WindowHandle>(wParam));
    }
    return 0;
}

// With the lock held: this thread's timer that falls due first (the earlier set on a tie), or end.
auto NextTimer() {
    auto next = data.timers.end();
    for (auto timer = data.timers.begin(); timer != data.timers.end(); ++timer) {
        const Timer& t = timer->second;
        if (Find(timer->first.first)->thread == std::this_thread::get_id() &&
            (next == data.timers.end() ||
             std::pair(t.due, t.order) < std::pair(next->second.due, next->second.order))) {
            next = timer;
        }
    }
    return next;
}

// Delivers one queued message (sent ones first) or due timer of this thread; false when none.
bool PumpOne() {
    std::unique_lock hold(lock);
    for (auto& [handle, window] : data.windows) {
        if (window.state.result && !window.destroyed) {
            Destroy(handle);
        }
    }
    auto mine = [](const Queued& queued) {
        return Find(queued.sent.window)->thread == std::this_thread::get_id();
    };
    auto next =
        std::find_if(data.queue.begin(), data.queue.end(), [&](auto& q) { return mine(q) && q.reply; });
    next = next != data.queue.end() ? next : std::find_if(data.queue.begin(), data.queue.end(), mine);
    Queued queued{};
    if (next != data.queue.end()) {
        queued = *next;
        data.queue.erase(next);
    } else if (const auto due = NextTimer(); due != data.timers.end() && due->second.due <= data.now) {
        due->second.due = data.now + due->second.period;
        queued.sent = {due->first.first, WM_TIMER, due->first.second, 0};
    } else {
        return false;
    }
    hold.unlock();
    const auto& [window, message, wParam, lParam] = queued.sent;
    const LResult result = Deliver(window, message, wParam, lParam);
    if (queued.reply) {
        hold.lock();
        *queued.reply = result;
        changed.notify_all();
    }
    return true;
}

// With the lock held: joins the threads that have ended, as far as the simulation is concerned.
void JoinEnded() {
    for (std::thread& thread : data.threads) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

// With the lock held: runs proc(argument) on a thread of its own.
void StartThread(void (*proc)(void*), void* argument) {
    ++data.running;
    data.threads.emplace_back([proc, argument] {
        proc(argument);
        Locked([](Data& d) { --d.running; });
        changed.notify_all();
    });
}

} // namespace

LResult DialogBoxParamA(int templateId, WindowHandle, DialogProc, LParam) {
    AddFailure("modal dialog " + std::to_string(templateId) + ": modal dialogs run only in the Windows tier");
    return -1;
}

bool EndDialog(WindowHandle dialog, LResult result) {
    return With(dialog, false, [result](Window& window) {
        if (window.proc != nullptr) { // a dialog, not a control
            window.state.result = result;
        }
        return window.proc != nullptr;
    });
}

LParam SetWindowLongPtrA(WindowHandle dialog, int index, LParam value) {
    return With(dialog, LParam{}, [&](Window& window) { return std::exchange(window.longs[index], value); });
}

LParam GetWindowLongPtrA(WindowHandle dialog, int index) {
    return With(dialog, LParam{}, [&](Window& window) { return window.longs[index]; });
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
    return Locked([&](Data& d) {
        const auto found = std::find_if(d.windows.begin(), d.windows.end(), [&](const auto& entry) {
            return dialog != nullptr && entry.second.parent == dialog && entry.second.id == id &&
                   !entry.second.destroyed;
        });
        return found == d.windows.end() ? nullptr : found->first;
    });
}

bool SetWindowTextA(WindowHandle window, const char* text) {
    return With(window, false, [text](Window& found) { return (found.state.text = text, true); });
}

bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text) {
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

bool ShowWindow(WindowHandle window, int command) {
    return With(window, false,
                [command](Window& found) { return std::exchange(found.state.visible, command != SW_HIDE); });
}

// As on Windows, a window that is disabled while it has the focus leaves no window with it.
bool EnableWindow(WindowHandle window, bool enable) {
    return With(window, false, [&](Window& found) {
        if (!enable && data.focus == window) {
            data.focus = nullptr;
        }
        return !std::exchange(found.enabled, enable);
    });
}

bool IsWindowEnabled(WindowHandle window) {
    return With(window, false, [](Window& found) { return found.enabled; });
}

// As on Windows, SetFocus(nullptr) takes the focus away and answers who had it.
WindowHandle SetFocus(WindowHandle window) {
    return Locked(
        [window](Data& d) { return window && !Find(window) ? nullptr : std::exchange(d.focus, window); });
}

WindowHandle GetFocus() {
    return Locked([](Data& d) {
        const Window* focus = Find(d.focus);
        return focus != nullptr && focus->thread == std::this_thread::get_id() ? d.focus : nullptr;
    });
}

std::string GetDlgItemTextA(WindowHandle dialog, int id) {
    return Inspect(GetDlgItem(dialog, id)).text;
}

LResult SendMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    std::unique_lock hold(lock);
    Window* target = Find(window);
    if (target == nullptr || target->thread == std::this_thread::get_id()) {
        hold.unlock();
        return Deliver(window, message, wParam, lParam);
    }
    auto reply = std::make_shared<std::optional<LResult>>();
    data.queue.push_back({{window, message, wParam, lParam}, reply});
    changed.notify_all();
    changed.wait(hold, [&] { return reply->has_value(); });
    return **reply;
}

bool PostMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    return With(window, false, [&](Window&) {
        data.queue.push_back({{window, message, wParam, lParam}, nullptr});
        changed.notify_all();
        return true;
    });
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
    return Locked([&](Data& d) -> std::uintptr_t {
        Window* target = Find(window);
        if (target == nullptr || target->thread != std::this_thread::get_id()) {
            d.failures.push_back("SetTimer off the window's thread for timer " + std::to_string(id));
            return 0;
        }
        const unsigned period = std::max(milliseconds, 10u); // USER_TIMER_MINIMUM
        d.timers[{window, id}] = {period, d.now + period, ++d.timerOrder};
        return id == 0 ? 1 : id;
    });
}

bool KillTimer(WindowHandle window, std::uintptr_t id) {
    return Locked([&](Data& d) {
        Window* target = Find(window);
        if (target != nullptr && target->thread != std::this_thread::get_id()) {
            d.failures.push_back("KillTimer off the window's thread for timer " + std::to_string(id));
            return false;
        }
        return d.timers.erase({window, id}) != 0;
    });
}

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned type) {
    bool windowThread = false;
    const BoxAnswer answer = Locked([&](Data& d) {
        windowThread = std::any_of(d.windows.begin(), d.windows.end(), [](const auto& entry) {
            return !entry.second.destroyed && entry.second.thread == std::this_thread::get_id();
        });
        BoxAnswer next{(type & 0xF) == MB_OK ? IDOK : 0};
        auto& answers = d.answers[static_cast<int>(windowThread ? BoxThread::Window : BoxThread::Worker)];
        if (!answers.empty()) {
            next = std::move(answers.front());
            answers.pop_front();
        } else if (next.button == 0) {
            d.failures.push_back(std::string("unscripted message box: ") + text);
        }
        d.boxes.push_back({owner, text, caption, type, std::this_thread::get_id()});
        return next;
    });
    if (windowThread) {
        PumpMessages(); // the box's own loop
    }
    if (answer.meanwhile) {
        answer.meanwhile();
    }
    if (windowThread) {
        AdvanceTime(answer.upForMs);
    }
    return answer.button;
}

std::string ApplicationName() {
    return "Tolvo Firmware Updater";
}

// Nothing is drawn on the host: never minimised, no system menu, strings or bitmaps, and 96 DPI.
bool IsIconic(WindowHandle) {
    return false;
}
MenuHandle GetSystemMenu(WindowHandle, bool) {
    return nullptr;
}
bool AppendMenuA(MenuHandle, unsigned, std::uintptr_t, const char*) {
    return false;
}
std::string LoadStringA(int) {
    return {};
}
IconHandle LoadIconA(int id) {
    return reinterpret_cast<IconHandle>(std::uintptr_t{0x7000000} + static_cast<std::uintptr_t>(id));
}
BitmapHandle LoadImageA(int, unsigned, int, int) {
    return nullptr;
}
bool DeleteObject(BitmapHandle) {
    return false;
}
unsigned GetDpiForWindow(WindowHandle) {
    return 96;
}
bool MapDialogRect(WindowHandle, Rect*) {
    return false;
}
bool SetWindowPos(WindowHandle, WindowHandle, int, int, int, int, unsigned) {
    AddFailure("SetWindowPos: window placement and DPI run only in the Windows tier");
    return false;
}
PaintScope::PaintScope(WindowHandle window) : window_(window), context_(nullptr), state_(nullptr) {}
PaintScope::~PaintScope() = default;
Rect GetClientRect(WindowHandle) {
    return {};
}
int GetSystemMetrics(int) {
    return 0;
}
bool DrawIcon(DeviceContext, int, int, IconHandle) {
    return false;
}

std::string GetCommandLineA() {
    return "\"Tolvo Firmware Updater.exe\"";
}

bool BeginThread(void (*proc)(void*), void* argument) {
    return Locked([&](Data& d) {
        if (d.refuseThreads) {
            return false;
        }
        if (d.holdThreads) {
            d.held.emplace_back(proc, argument);
        } else {
            StartThread(proc, argument);
        }
        return true;
    });
}

void Sleep(unsigned milliseconds) {
    Locked([milliseconds](Data& d) { d.now += milliseconds; });
}

namespace sim {

void DefineDialog(int templateId, std::vector<ControlDefinition> controls) {
    Locked([&](Data& d) { d.definitions[templateId] = std::move(controls); });
}

WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param) {
    const auto [dialog, first] = Locked([&](Data& d) -> std::pair<WindowHandle, WindowHandle> {
        const auto definition = d.definitions.find(templateId);
        if (definition == d.definitions.end()) {
            d.failures.push_back("no dialog template " + std::to_string(templateId) + " is defined");
            return {};
        }
        auto open = [&d](Window window) {
            const auto handle = reinterpret_cast<WindowHandle>(0x10000 + 0x10 * (d.windows.size() + 1));
            d.windows[handle] = std::move(window);
            return handle;
        };
        const auto self = std::this_thread::get_id();
        const WindowHandle created = open({.state = {.visible = true}, .proc = proc, .thread = self});
        WindowHandle first = nullptr;
        for (const ControlDefinition& control : definition->second) {
            const WindowHandle handle = open({.state = {.text = control.text, .visible = control.visible},
                                              .parent = created,
                                              .id = control.id,
                                              .thread = self});
            first = first == nullptr ? handle : first;
        }
        return {created, first};
    });
    // A nonzero answer gives the focus to the control named in wParam.
    if (dialog != nullptr && Deliver(dialog, WM_INITDIALOG, reinterpret_cast<WParam>(first), param) != 0 &&
        first != nullptr) {
        SetFocus(first);
    }
    return dialog;
}

void Click(WindowHandle dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), kButtonClick, 0, 0);
}

WindowState Inspect(WindowHandle window) {
    return Locked([window](Data& d) {
        const auto found = d.windows.find(window);
        return found == d.windows.end() ? WindowState() : found->second.state;
    });
}

std::optional<unsigned> TimerPeriod(WindowHandle window, std::uintptr_t id) {
    return Locked([&](Data& d) {
        const auto found = d.timers.find({window, id});
        return found == d.timers.end() ? std::nullopt : std::optional<unsigned>(found->second.period);
    });
}

std::vector<DeliveredMessage> DeliveredMessages() {
    return Locked([](Data& d) { return d.delivered; });
}

void PumpMessages() {
    while (PumpOne()) {
    }
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (PumpMessages(); !done(); PumpMessages()) {
        if (std::chrono::steady_clock::now() >= end) {
            AddFailure("PumpUntil: the awaited condition did not come true in time");
            return false;
        }
        std::unique_lock hold(lock); // short slices: what `done` watches may change without a message
        changed.wait_for(hold, std::chrono::milliseconds(2));
    }
    return true;
}

void AdvanceTime(unsigned milliseconds) {
    const std::uint64_t target = Now() + milliseconds;
    for (bool reached = false; !reached;) {
        PumpMessages();
        reached = Locked([&](Data& d) {
            const auto timer = NextTimer();
            const std::uint64_t next = timer == d.timers.end() ? target : std::min(target, timer->second.due);
            d.now = std::max(d.now, next);
            return next == target;
        });
    }
    PumpMessages();
}

std::uint64_t Now() {
    return Locked([](Data& d) { return d.now; });
}

void ScriptMessageBoxes(std::vector<BoxAnswer> answers, BoxThread thread) {
    Locked([&](Data& d) {
        auto& queue = d.answers[static_cast<int>(thread)];
        std::move(answers.begin(), answers.end(), std::back_inserter(queue));
    });
}

std::vector<ShownMessageBox> ShownMessageBoxes() {
    return Locked([](Data& d) { return d.boxes; });
}

void HoldThreads() {
    Locked([](Data& d) { d.holdThreads = true; });
}

void RefuseThreads() {
    Locked([](Data& d) { d.refuseThreads = true; });
}

void ReleaseHeldThreads() {
    Locked([](Data& d) {
        for (const auto& [proc, argument] : std::exchange(d.held, {})) {
            StartThread(proc, argument);
        }
    });
}

bool WaitForThreads() {
    if (!PumpUntil([] { return Locked([](Data& d) { return d.running == 0; }); })) {
        return false;
    }
    Locked([](Data&) { JoinEnded(); });
    return true;
}

int ThreadsStarted() {
    return Locked([](Data& d) { return static_cast<int>(d.threads.size() + d.held.size()); });
}

std::vector<std::string> TakeFailures() {
    return Locked([](Data& d) { return std::exchange(d.failures, {}); });
}

void Reset() {
    std::unique_lock hold(lock);
    for (auto& [handle, window] : data.windows) {
        window.destroyed = true;
    }
    Destroy(nullptr); // answers every pending send
    // A thread still running has lost its windows: every send it makes returns at once.
    if (!changed.wait_for(hold, std::chrono::seconds(30), [] { return data.running == 0; })) {
        std::fputs("simulated window system: a thread started by the test never ended\n", stderr);
        std::abort();
    }
    JoinEnded();
    ResetAccessibility();
    Data fresh;
    fresh.definitions = std::move(data.definitions);
    data = std::move(fresh);
}

} // namespace sim
} // namespace platform
