#pragma once
// Conversions between the platform layer's opaque handles and the Win32 handles they carry.
#include <windows.h>

#include "platform/Window.h"

namespace platform::win32 {

inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}
inline HMENU ToHmenu(MenuHandle menu) {
    return reinterpret_cast<HMENU>(menu);
}
inline HICON ToHicon(IconHandle icon) {
    return reinterpret_cast<HICON>(icon);
}
inline HBITMAP ToHbitmap(BitmapHandle bitmap) {
    return reinterpret_cast<HBITMAP>(bitmap);
}
inline HDC ToHdc(DeviceContext context) {
    return reinterpret_cast<HDC>(context);
}
// The program's own module, whose resources hold the dialogs, strings and icons.
inline HINSTANCE ProgramModule() {
    return ::GetModuleHandleA(nullptr);
}

} // namespace platform::win32
