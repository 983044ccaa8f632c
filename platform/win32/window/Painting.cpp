#include "platform/win32/window/Handles.h"

namespace platform {

PaintScope::PaintScope(WindowHandle window) : window_(window), context_(nullptr), state_(new PAINTSTRUCT{}) {
    context_ = reinterpret_cast<DeviceContext>(
        ::BeginPaint(win32::ToHwnd(window_), static_cast<PAINTSTRUCT*>(state_)));
}

PaintScope::~PaintScope() {
    auto* paint = static_cast<PAINTSTRUCT*>(state_);
    if (context_ != nullptr) {
        ::EndPaint(win32::ToHwnd(window_), paint);
    }
    delete paint;
}

Rect GetClientRect(WindowHandle window) {
    RECT client{};
    if (!::GetClientRect(win32::ToHwnd(window), &client)) {
        return {};
    }
    return {client.left, client.top, client.right, client.bottom};
}

int GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

bool DrawIcon(DeviceContext context, int x, int y, IconHandle icon) {
    return ::DrawIcon(win32::ToHdc(context), x, y, win32::ToHicon(icon)) != FALSE;
}

} // namespace platform
