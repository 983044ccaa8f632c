#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

namespace {
// A window's system menu is known by the window's own handle value.
MenuHandle MenuOf(WindowHandle window) {
    return reinterpret_cast<MenuHandle>(window);
}
WindowHandle WindowOf(MenuHandle menu) {
    return reinterpret_cast<WindowHandle>(menu);
}
constexpr std::uintptr_t kIconHandleBase = 0x7000000;

bool HasSystemMenu(const Data& data, const Window& window) {
    return window.proc != nullptr && (data.systemMenuRule == sim::SystemMenuRule::Always ||
                                      (window.style & sim::StyleBit("WS_SYSMENU")) != 0);
}
} // namespace

MenuHandle GetSystemMenu(WindowHandle window, bool revert) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* found = Find(state.data, window);
    if (found == nullptr || !HasSystemMenu(state.data, *found)) {
        return nullptr;
    }
    if (revert) {
        found->systemMenu.clear();
    }
    return MenuOf(window);
}

bool AppendMenuA(MenuHandle menu, unsigned flags, std::uintptr_t id, const char* text) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* found = Find(state.data, WindowOf(menu));
    if (found == nullptr || !HasSystemMenu(state.data, *found)) {
        return false;
    }
    found->systemMenu.push_back({flags, id, (flags & MF_SEPARATOR) != 0 || text == nullptr ? "" : text});
    return true;
}

std::string LoadStringA(int id) {
    const auto& strings = sim::ProgramResources().strings;
    const auto found = strings.find(id);
    return found == strings.end() ? std::string() : found->second;
}

IconHandle LoadIconA(int id) {
    if (sim::ProgramResources().icons.count(id) == 0) {
        return nullptr;
    }
    return reinterpret_cast<IconHandle>(kIconHandleBase + static_cast<std::uintptr_t>(id));
}

namespace sim {

void SetSystemMenuRule(SystemMenuRule rule) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.systemMenuRule = rule;
}

std::vector<MenuItem> SystemMenuItems(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* found = Find(state.data, window);
    return found == nullptr ? std::vector<MenuItem>() : found->systemMenu;
}

} // namespace sim
} // namespace platform
