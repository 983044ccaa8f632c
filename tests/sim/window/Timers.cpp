#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

namespace {
constexpr unsigned kShortestPeriod = 10; // USER_TIMER_MINIMUM
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
    State& state = TheState();
    std::unique_lock hold(state.lock);
    Window* target = Find(state.data, window);
    if (target == nullptr) {
        return 0;
    }
    if (target->thread != std::this_thread::get_id()) {
        hold.unlock();
        AddFailure("SetTimer called off the window's thread for timer " + std::to_string(id));
        return 0;
    }
    const unsigned period = std::max(milliseconds, kShortestPeriod);
    state.data.timers[{window, id}] = {period, state.data.now + period, ++state.data.timerOrder,
                                       target->thread};
    return id == 0 ? 1 : id;
}

bool KillTimer(WindowHandle window, std::uintptr_t id) {
    State& state = TheState();
    std::unique_lock hold(state.lock);
    Window* target = Find(state.data, window);
    if (target != nullptr && target->thread != std::this_thread::get_id()) {
        hold.unlock();
        AddFailure("KillTimer called off the window's thread for timer " + std::to_string(id));
        return false;
    }
    return state.data.timers.erase({window, id}) != 0;
}

void Sleep(unsigned milliseconds) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.now += milliseconds;
}

namespace sim {

void AdvanceTime(unsigned milliseconds) {
    State& state = TheState();
    const auto self = std::this_thread::get_id();
    std::uint64_t target = 0;
    {
        std::lock_guard hold(state.lock);
        target = state.data.now + milliseconds;
    }
    for (;;) {
        PumpMessages();
        std::lock_guard hold(state.lock);
        std::optional<std::uint64_t> nextDue;
        for (const auto& [key, timer] : state.data.timers) {
            if (timer.thread == self && timer.due <= target && (!nextDue || timer.due < *nextDue)) {
                nextDue = timer.due;
            }
        }
        if (!nextDue) {
            state.data.now = std::max(state.data.now, target);
            break;
        }
        state.data.now = std::max(state.data.now, *nextDue);
    }
    PumpMessages();
}

std::uint64_t Now() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.now;
}

std::optional<unsigned> TimerPeriod(WindowHandle window, std::uintptr_t id) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    const auto found = state.data.timers.find({window, id});
    return found == state.data.timers.end() ? std::nullopt : std::optional<unsigned>(found->second.period);
}

} // namespace sim
} // namespace platform
