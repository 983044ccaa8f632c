#include "platform/win32/window/Handles.h"

namespace platform {

using win32::FromHwnd;
using win32::ToHwnd;

bool SetWindowTextA(WindowHandle window, const char* text) {
    return ::SetWindowTextA(ToHwnd(window), text) != FALSE;
}
bool ShowWindow(WindowHandle window, int command) {
    return ::ShowWindow(ToHwnd(window), command) != FALSE;
}
bool EnableWindow(WindowHandle window, bool enable) {
    return ::EnableWindow(ToHwnd(window), enable) != FALSE;
}
bool IsWindowEnabled(WindowHandle window) {
    return ::IsWindowEnabled(ToHwnd(window)) != FALSE;
}
bool IsIconic(WindowHandle window) {
    return ::IsIconic(ToHwnd(window)) != FALSE;
}
WindowHandle SetFocus(WindowHandle window) {
    return FromHwnd(::SetFocus(ToHwnd(window)));
}

LResult SendMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    return ::SendMessageA(ToHwnd(window), message, wParam, lParam);
}

bool PostMessageA(WindowHandle window, unsigned message, WParam wParam, LParam lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
    return ::SetTimer(ToHwnd(window), id, milliseconds, nullptr);
}

bool KillTimer(WindowHandle window, std::uintptr_t id) {
    return ::KillTimer(ToHwnd(window), id) != FALSE;
}

} // namespace platform
