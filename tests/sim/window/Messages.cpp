#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

LResult SendMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    State& state = TheState();
    std::unique_lock hold(state.lock);
    Window* target = Find(state.data, window);
    if (target == nullptr) {
        return 0;
    }
    if (target->thread == std::this_thread::get_id()) {
        hold.unlock();
        return Deliver(window, message, wParam, lParam);
    }
    auto reply = std::make_shared<Reply>();
    state.data.queue.push_back({window, message, wParam, lParam, target->thread, reply});
    state.changed.notify_all();
    state.changed.wait(hold, [&] { return reply->done; });
    return reply->result;
}

bool PostMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* target = Find(state.data, window);
    if (target == nullptr) {
        return false;
    }
    state.data.queue.push_back({window, message, wParam, lParam, target->thread, nullptr});
    state.changed.notify_all();
    return true;
}

namespace sim {

void PumpMessages() {
    while (PumpOne()) {
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    State& state = TheState();
    const auto self = std::this_thread::get_id();
    for (;;) {
        PumpMessages();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            AddFailure("PumpUntil: the awaited condition did not come true in time");
            return false;
        }
        // Short slices, because what `done` watches may change without a message.
        std::unique_lock hold(state.lock);
        state.changed.wait_for(hold, std::chrono::milliseconds(2), [&] {
            return std::any_of(state.data.queue.begin(), state.data.queue.end(),
                               [self](const QueuedMessage& queued) { return queued.thread == self; });
        });
    }
}

std::vector<DeliveredMessage> DeliveredMessages() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.delivered;
}

} // namespace sim
} // namespace platform
