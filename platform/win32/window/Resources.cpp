#include "platform/win32/window/Handles.h"

namespace platform {

MenuHandle GetSystemMenu(WindowHandle window, bool revert) {
    return reinterpret_cast<MenuHandle>(::GetSystemMenu(win32::ToHwnd(window), revert));
}

bool AppendMenuA(MenuHandle menu, unsigned flags, std::uintptr_t id, const char* text) {
    return ::AppendMenuA(win32::ToHmenu(menu), flags, id, text) != FALSE;
}

std::string LoadStringA(int id) {
    char buffer[512] = {};
    const int copied = ::LoadStringA(win32::ProgramModule(), static_cast<UINT>(id), buffer, sizeof(buffer));
    return std::string(buffer, copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

IconHandle LoadIconA(int id) {
    return reinterpret_cast<IconHandle>(::LoadIconA(win32::ProgramModule(), MAKEINTRESOURCEA(id)));
}

} // namespace platform
