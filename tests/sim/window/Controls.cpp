#include "sim/window/SimState.h"

namespace platform {
namespace {

using namespace sim::detail;

// Runs `use` on the live window under the lock, or returns `otherwise` for a dead handle.
template <typename Use, typename Result> Result WithWindow(WindowHandle handle, Result otherwise, Use&& use) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, handle);
    return window == nullptr ? otherwise : use(*window);
}

} // namespace

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, dialog);
    if (window == nullptr) {
        return nullptr;
    }
    for (WindowHandle child : window->children) {
        if (state.data.windows[child].id == id) {
            return child;
        }
    }
    return nullptr;
}

bool SetWindowTextA(WindowHandle window, const char* text) {
    return WithWindow(window, false, [text](Window& found) {
        found.text = text == nullptr ? "" : text;
        return true;
    });
}

bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text) {
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

std::string GetDlgItemTextA(WindowHandle dialog, int id) {
    return sim::WindowText(GetDlgItem(dialog, id));
}

bool ShowWindow(WindowHandle window, int command) {
    return WithWindow(window, false, [command](Window& found) {
        const bool wasVisible = found.visible;
        found.visible = command != SW_HIDE;
        return wasVisible;
    });
}

bool EnableWindow(WindowHandle window, bool enable) {
    return WithWindow(window, false, [enable](Window& found) {
        const bool wasDisabled = !found.enabled;
        found.enabled = enable;
        return wasDisabled;
    });
}

bool IsWindowEnabled(WindowHandle window) {
    return WithWindow(window, false, [](Window& found) { return found.enabled; });
}

// Visible only when its dialog is visible too, as on Win32.
bool IsWindowVisible(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    for (Window* found = Find(state.data, window); found != nullptr;
         found = Find(state.data, found->parent)) {
        if (!found->visible) {
            return false;
        }
        if (found->proc != nullptr) {
            return true;
        }
    }
    return false;
}

bool IsIconic(WindowHandle window) {
    return WithWindow(window, false, [](Window& found) { return found.iconic; });
}

WindowHandle SetFocus(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    const WindowHandle previous = state.data.focus;
    if (window == nullptr || Find(state.data, window) != nullptr) {
        state.data.focus = window;
    }
    return previous;
}

namespace sim {

std::string WindowText(WindowHandle window) {
    return WithWindow(window, std::string(), [](Window& found) { return found.text; });
}

std::string ClassName(WindowHandle window) {
    return WithWindow(window, std::string(), [](Window& found) { return found.className; });
}

unsigned Style(WindowHandle window) {
    return WithWindow(window, 0u, [](Window& found) { return found.style; });
}

unsigned ExStyle(WindowHandle window) {
    return WithWindow(window, 0u, [](Window& found) { return found.exStyle; });
}

std::vector<WindowHandle> Children(WindowHandle dialog) {
    return WithWindow(dialog, std::vector<WindowHandle>(), [](Window& found) { return found.children; });
}

int ControlId(WindowHandle control) {
    return WithWindow(control, 0, [](Window& found) { return found.id; });
}

WindowHandle Focus() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.focus;
}

ProgressState Progress(WindowHandle progressBar) {
    return WithWindow(progressBar, ProgressState{}, [](Window& found) { return found.progress; });
}

IconHandle WindowIcon(WindowHandle window, int which) {
    return WithWindow(window, IconHandle{},
                      [which](Window& found) { return which == ICON_BIG ? found.bigIcon : found.smallIcon; });
}

void SetIconic(WindowHandle window, bool iconic) {
    WithWindow(window, false, [iconic](Window& found) { return found.iconic = iconic; });
}

void SetClientSize(WindowHandle window, int width, int height) {
    WithWindow(window, false, [width, height](Window& found) {
        found.clientWidth = width;
        found.clientHeight = height;
        return true;
    });
}

} // namespace sim
} // namespace platform
