#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

PaintScope::PaintScope(WindowHandle window) : window_(window), context_(nullptr), state_(nullptr) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    if (Find(state.data, window) != nullptr) {
        context_ = NewHandle<DeviceContextTag>(state.data);
        state.data.paints[window] = context_;
    }
}

PaintScope::~PaintScope() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.paints.erase(window_);
}

Rect GetClientRect(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* found = Find(state.data, window);
    return found == nullptr ? Rect{} : Rect{0, 0, found->clientWidth, found->clientHeight};
}

int GetSystemMetrics(int index) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    const auto found = state.data.metrics.find(index);
    return found == state.data.metrics.end() ? 0 : found->second;
}

bool DrawIcon(DeviceContext context, int x, int y, IconHandle icon) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    if (context == nullptr || icon == nullptr) {
        return false;
    }
    state.data.drawnIcons.push_back({context, x, y, icon});
    return true;
}

namespace sim {

void SetSystemMetric(int index, int value) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.metrics[index] = value;
}

std::vector<DrawnIcon> DrawnIcons() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.drawnIcons;
}

DeviceContext OpenPaintContext(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    const auto found = state.data.paints.find(window);
    return found == state.data.paints.end() ? nullptr : found->second;
}

} // namespace sim
} // namespace platform
