#include "platform/win32/window/Handles.h"

namespace platform {

BitmapHandle LoadImageA(int id, unsigned type, int width, int height) {
    return reinterpret_cast<BitmapHandle>(
        ::LoadImageA(win32::ProgramModule(), MAKEINTRESOURCEA(id), type, width, height, LR_DEFAULTCOLOR));
}

bool DeleteObject(BitmapHandle bitmap) {
    return ::DeleteObject(win32::ToHbitmap(bitmap)) != FALSE;
}

unsigned GetDpiForWindow(WindowHandle window) {
    // Windows 10 1607 and later know each window's DPI; before that the screen's holds for all.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr) {
        return dpiForWindow(win32::ToHwnd(window));
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

bool MapDialogRect(WindowHandle dialog, Rect* rect) {
    RECT mapped{rect->left, rect->top, rect->right, rect->bottom};
    if (!::MapDialogRect(win32::ToHwnd(dialog), &mapped)) {
        return false;
    }
    *rect = {mapped.left, mapped.top, mapped.right, mapped.bottom};
    return true;
}

} // namespace platform
