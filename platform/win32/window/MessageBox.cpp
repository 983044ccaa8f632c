#include "platform/win32/window/Handles.h"

namespace platform {

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned type) {
    return ::MessageBoxA(win32::ToHwnd(owner), text, caption, type);
}

std::string ApplicationName() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    name.erase(0, name.find_last_of("\\/") + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

} // namespace platform
