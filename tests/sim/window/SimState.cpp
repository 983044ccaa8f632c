#include "sim/window/SimState.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace platform::sim::detail {
namespace {

// Messages whose answer a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool AnswersDirectly(unsigned message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == 0x002E /* WM_VKEYTOITEM */ ||
           message == 0x002F /* WM_CHARTOITEM */ || message == 0x0039 /* WM_COMPAREITEM */ ||
           (message >= 0x0132 && message <= 0x0138) /* WM_CTLCOLOR… */;
}

constexpr unsigned kSysClose = 0xF060; // SC_CLOSE

LResult DefaultDialogProcedure(WindowHandle dialog, unsigned message, WParam wParam, LParam lParam) {
    State& state = TheState();
    switch (message) {
    case kClose:
        platform::PostMessageA(dialog, WM_COMMAND, static_cast<WParam>(IDCANCEL), 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kSysClose) {
            Deliver(dialog, kClose, 0, 0);
        }
        return 0;
    case WM_SETICON: {
        std::lock_guard hold(state.lock);
        Window* window = Find(state.data, dialog);
        if (window == nullptr) {
            return 0;
        }
        IconHandle& slot = wParam == static_cast<WParam>(ICON_BIG) ? window->bigIcon : window->smallIcon;
        const IconHandle previous = slot;
        slot = reinterpret_cast<IconHandle>(lParam);
        return reinterpret_cast<LResult>(previous);
    }
    case WM_DEVICECHANGE:
        return 1;
    default:
        return 0;
    }
}

int Clamp(int value, const ProgressState& range) {
    return std::clamp(value, range.low, std::max(range.low, range.high));
}

LResult ProgressProcedure(WindowHandle bar, unsigned message, WParam wParam, LParam lParam) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, bar);
    if (window == nullptr) {
        return 0;
    }
    ProgressState& progress = window->progress;
    switch (message) {
    case PBM_SETRANGE: {
        const LResult previous = (progress.low & 0xFFFF) | ((progress.high & 0xFFFF) << 16);
        progress.low = static_cast<int>(lParam & 0xFFFF);
        progress.high = static_cast<int>((lParam >> 16) & 0xFFFF);
        progress.position = Clamp(progress.position, progress);
        return previous;
    }
    case PBM_SETPOS: {
        const int previous = progress.position;
        progress.position = Clamp(static_cast<int>(wParam), progress);
        return previous;
    }
    case PBM_GETPOS:
        return progress.position;
    case PBM_GETRANGE: // the PBRANGE that lParam may point to is left alone
        return wParam != 0 ? progress.low : progress.high;
    default:
        return 0;
    }
}

LResult ControlProcedure(WindowHandle control, const std::string& className, WindowHandle parent, int id,
                         unsigned message, WParam wParam, LParam lParam) {
    if (SameText(className, "msctls_progress32")) {
        return ProgressProcedure(control, message, wParam, lParam);
    }
    if (SameText(className, "Button") && message == kButtonClick) {
        const auto command =
            static_cast<WParam>(static_cast<unsigned>(id) & 0xFFFF) | (WParam{BN_CLICKED} << 16);
        Deliver(parent, WM_COMMAND, command, reinterpret_cast<LParam>(control));
    }
    return 0;
}

} // namespace

State& TheState() {
    static State state;
    return state;
}

Window* Find(Data& data, WindowHandle handle) {
    const auto found = data.windows.find(handle);
    return found == data.windows.end() || found->second.destroyed ? nullptr : &found->second;
}

void DestroyDialog(Data& data, WindowHandle dialog) {
    Window* window = Find(data, dialog);
    if (window == nullptr) {
        return;
    }
    std::vector<WindowHandle> doomed = window->children;
    doomed.push_back(dialog);
    for (WindowHandle handle : doomed) {
        data.windows[handle].destroyed = true;
        if (data.focus == handle) {
            data.focus = nullptr;
        }
        std::erase_if(data.timers, [handle](const auto& timer) { return timer.first.first == handle; });
    }
    std::erase_if(data.queue, [&](const QueuedMessage& queued) {
        if (std::find(doomed.begin(), doomed.end(), queued.window) == doomed.end()) {
            return false;
        }
        if (queued.reply) {
            queued.reply->done = true;
        }
        return true;
    });
    TheState().changed.notify_all();
}

void AddFailure(std::string what) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.failures.push_back(std::move(what));
}

LResult Deliver(WindowHandle handle, unsigned message, WParam wParam, LParam lParam) {
    State& state = TheState();
    DialogProc proc = nullptr;
    std::string className;
    WindowHandle parent = nullptr;
    int id = 0;
    {
        std::lock_guard hold(state.lock);
        Window* window = Find(state.data, handle);
        if (window == nullptr) {
            return 0;
        }
        state.data.delivered.push_back({handle, message, wParam, lParam, std::this_thread::get_id()});
        proc = window->proc;
        className = window->className;
        parent = window->parent;
        id = window->id;
    }
    if (proc == nullptr) {
        return ControlProcedure(handle, className, parent, id, message, wParam, lParam);
    }
    const LResult answer = proc(handle, message, wParam, lParam);
    if (answer != 0) {
        return AnswersDirectly(message) ? answer : 0;
    }
    return DefaultDialogProcedure(handle, message, wParam, lParam);
}

bool PumpOne() {
    State& state = TheState();
    const auto self = std::this_thread::get_id();
    std::unique_lock hold(state.lock);
    Data& data = state.data;
    for (auto& [handle, window] : data.windows) {
        if (window.modeless && window.result && !window.destroyed) {
            DestroyDialog(data, handle);
        }
    }
    auto mine = [self](const QueuedMessage& queued) { return queued.thread == self; };
    auto next = std::find_if(data.queue.begin(), data.queue.end(),
                             [&](const QueuedMessage& queued) { return mine(queued) && queued.reply; });
    if (next == data.queue.end()) {
        next = std::find_if(data.queue.begin(), data.queue.end(), mine);
    }
    if (next != data.queue.end()) {
        const QueuedMessage message = *next;
        data.queue.erase(next);
        hold.unlock();
        const LResult result = Deliver(message.window, message.message, message.wParam, message.lParam);
        if (message.reply) {
            hold.lock();
            message.reply->done = true;
            message.reply->result = result;
            state.changed.notify_all();
        }
        return true;
    }
    auto due = data.timers.end();
    for (auto timer = data.timers.begin(); timer != data.timers.end(); ++timer) {
        const Timer& candidate = timer->second;
        if (candidate.thread == self && candidate.due <= data.now &&
            (due == data.timers.end() ||
             std::pair(candidate.due, candidate.order) < std::pair(due->second.due, due->second.order))) {
            due = timer;
        }
    }
    if (due == data.timers.end()) {
        return false;
    }
    const auto [window, id] = due->first;
    due->second.due = data.now + due->second.period;
    hold.unlock();
    Deliver(window, WM_TIMER, id, 0);
    return true;
}

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace platform::sim::detail

namespace platform::sim {

std::vector<std::string> TakeFailures() {
    auto& state = detail::TheState();
    std::lock_guard hold(state.lock);
    return std::exchange(state.data.failures, {});
}

void Reset() {
    auto& state = detail::TheState();
    std::vector<std::thread> threads;
    {
        std::unique_lock hold(state.lock);
        for (auto& [handle, window] : state.data.windows) {
            window.destroyed = true;
        }
        for (auto& queued : state.data.queue) {
            if (queued.reply) {
                queued.reply->done = true;
            }
        }
        state.data.queue.clear();
        state.changed.notify_all();
        // A thread still running now has lost its windows; every send it makes returns at once.
        if (!state.changed.wait_for(hold, std::chrono::seconds(30),
                                    [&] { return state.data.runningThreads == 0; })) {
            std::fputs("simulated window system: a thread started by the test never ended\n", stderr);
            std::abort();
        }
        threads = std::move(state.data.threads);
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::lock_guard hold(state.lock);
    state.data = detail::Data{};
}

} // namespace platform::sim
