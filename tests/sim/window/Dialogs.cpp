#include "sim/window/SimState.h"

namespace platform {
namespace {

using namespace sim::detail;

constexpr unsigned kTabStop = 0x00010000u;

// The template's client area at 6 × 13 pixels per 4 × 8 dialog units.
constexpr int PixelsAcross(int units) {
    return units * 6 / 4;
}
constexpr int PixelsDown(int units) {
    return units * 13 / 8;
}

WindowHandle CreateDialogWindow(int templateId, WindowHandle owner, DialogProc proc, bool modeless) {
    const auto& templates = sim::ProgramResources().dialogs;
    const auto found = templates.find(templateId);
    if (found == templates.end()) {
        return nullptr;
    }
    const sim::DialogTemplate& dialogTemplate = found->second;
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Data& data = state.data;
    const auto handle = NewHandle<WindowTag>(data);
    Window dialog;
    dialog.parent = owner;
    dialog.templateId = templateId;
    dialog.className = "#32770";
    dialog.text = dialogTemplate.caption;
    dialog.style = dialogTemplate.style;
    dialog.exStyle = dialogTemplate.exStyle;
    dialog.modeless = modeless;
    dialog.proc = proc;
    dialog.thread = std::this_thread::get_id();
    dialog.clientWidth = PixelsAcross(dialogTemplate.width);
    dialog.clientHeight = PixelsDown(dialogTemplate.height);
    for (const sim::ControlTemplate& controlTemplate : dialogTemplate.controls) {
        Window control;
        control.parent = handle;
        control.id = controlTemplate.id;
        control.className = controlTemplate.className;
        control.text = controlTemplate.text;
        control.style = controlTemplate.style;
        control.exStyle = controlTemplate.exStyle;
        control.visible = (controlTemplate.style & sim::StyleBit("WS_VISIBLE")) != 0;
        control.enabled = (controlTemplate.style & sim::StyleBit("WS_DISABLED")) == 0;
        control.thread = dialog.thread;
        control.clientWidth = PixelsAcross(controlTemplate.width);
        control.clientHeight = PixelsDown(controlTemplate.height);
        const auto controlHandle = NewHandle<WindowTag>(data);
        dialog.children.push_back(controlHandle);
        data.windows[controlHandle] = std::move(control);
    }
    data.windows[handle] = std::move(dialog);
    data.opened.push_back({templateId, handle, owner});
    return handle;
}

// The first control that takes the focus with Tab: a visible, enabled tab stop.
WindowHandle FirstTabStop(WindowHandle dialog) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, dialog);
    if (window == nullptr) {
        return nullptr;
    }
    for (WindowHandle child : window->children) {
        const Window& control = state.data.windows[child];
        if ((control.style & kTabStop) != 0 && control.visible && control.enabled) {
            return child;
        }
    }
    return nullptr;
}

// WM_INITDIALOG; a nonzero answer asks for the default focus, found again after the handler ran.
void InitialiseDialog(WindowHandle dialog, LParam param) {
    if (Deliver(dialog, WM_INITDIALOG, reinterpret_cast<WParam>(FirstTabStop(dialog)), param) != 0) {
        if (WindowHandle focus = FirstTabStop(dialog)) {
            SetFocus(focus);
        }
    }
}

bool SetEnabled(WindowHandle window, bool enabled) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* found = Find(state.data, window);
    const bool previous = found != nullptr && found->enabled;
    if (found != nullptr) {
        found->enabled = enabled;
    }
    return previous;
}

std::deque<sim::DialogStep> TakeScript(int templateId) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    auto& scripts = state.data.dialogScripts[templateId];
    if (scripts.empty()) {
        return {};
    }
    std::deque<sim::DialogStep> steps(scripts.front().begin(), scripts.front().end());
    scripts.pop_front();
    return steps;
}

std::optional<LResult> ResultOf(WindowHandle dialog) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, dialog);
    return window == nullptr ? std::optional<LResult>(-1) : window->result;
}

} // namespace

LResult DialogBoxParamA(int templateId, WindowHandle owner, DialogProc proc, LParam param) {
    const WindowHandle dialog = CreateDialogWindow(templateId, owner, proc, false);
    if (dialog == nullptr) {
        return -1;
    }
    const bool ownerWasEnabled = owner != nullptr && SetEnabled(owner, false);
    std::deque<sim::DialogStep> steps = TakeScript(templateId);
    InitialiseDialog(dialog, param);
    while (!ResultOf(dialog)) {
        if (PumpOne()) {
            continue;
        }
        if (!steps.empty()) {
            const sim::DialogStep step = std::move(steps.front());
            steps.pop_front();
            step(dialog);
            continue;
        }
        AddFailure("modal dialog " + std::to_string(templateId) + " is still open after its scripted steps");
        EndDialog(dialog, -1);
    }
    const LResult result = *ResultOf(dialog);
    {
        State& state = TheState();
        std::lock_guard hold(state.lock);
        DestroyDialog(state.data, dialog);
    }
    if (owner != nullptr) {
        SetEnabled(owner, ownerWasEnabled);
    }
    return result;
}

bool EndDialog(WindowHandle dialog, LResult result) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    Window* window = Find(state.data, dialog);
    if (window == nullptr || window->proc == nullptr) {
        return false;
    }
    window->result = result;
    return true;
}

namespace sim {

WindowHandle OpenDialog(int templateId, DialogProc proc, LParam param, WindowHandle owner) {
    const WindowHandle dialog = CreateDialogWindow(templateId, owner, proc, true);
    if (dialog != nullptr) {
        InitialiseDialog(dialog, param);
    }
    return dialog;
}

void ScriptDialog(int templateId, std::vector<DialogStep> steps) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.dialogScripts[templateId].push_back(std::move(steps));
}

std::vector<OpenedDialog> OpenedDialogs() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.opened;
}

std::optional<LResult> DialogResult(WindowHandle dialog) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    const auto found = state.data.windows.find(dialog);
    return found == state.data.windows.end() ? std::nullopt : found->second.result;
}

bool IsWindow(WindowHandle window) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return Find(state.data, window) != nullptr;
}

void Click(WindowHandle dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), kButtonClick, 0, 0);
}

} // namespace sim
} // namespace platform
