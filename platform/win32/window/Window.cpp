#include "platform/win32/window/Handles.h"

#include <commctrl.h>
#include <mutex>
#include <type_traits>

namespace platform {

using win32::FromHwnd;
using win32::ToHwnd;

static_assert(sizeof(Rect) == sizeof(RECT) && offsetof(Rect, left) == offsetof(RECT, left) &&
              offsetof(Rect, bottom) == offsetof(RECT, bottom));

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
WindowHandle GetFocus() {
    return FromHwnd(::GetFocus());
}
std::string GetDlgItemTextA(WindowHandle dialog, int id) {
    const HWND control = ::GetDlgItem(ToHwnd(dialog), id);
    std::string text(static_cast<std::size_t>(control ? ::GetWindowTextLengthA(control) : 0), '\0');
    const int copied =
        text.empty() ? 0 : ::GetWindowTextA(control, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}
bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                  unsigned flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags) != FALSE;
}
WindowHandle FindWindowA(const char* className, const char* title) {
    return FromHwnd(::FindWindowA(className, title));
}
WindowHandle GetLastActivePopup(WindowHandle owner) {
    return FromHwnd(::GetLastActivePopup(ToHwnd(owner)));
}
bool SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
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

namespace {

// The portable procedure goes to the system as it is: on x64 both signatures pass the same
// pointer-sized values in the same registers, and there is one calling convention.
static_assert(sizeof(void*) == 8, "the portable dialog procedure is handed over only on x64");
static_assert(std::is_same_v<WParam, WPARAM> && std::is_same_v<LParam, LPARAM> &&
              std::is_same_v<LResult, INT_PTR>);
DLGPROC ToDlgProc(DialogProc proc) {
    return reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(proc));
}

// The progress bar's window class comes from the common controls, registered once per process.
void RegisterCommonControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
    });
}

} // namespace

LResult DialogBoxParamA(int templateId, WindowHandle owner, DialogProc proc, LParam param) {
    RegisterCommonControls();
    return ::DialogBoxParamA(win32::ProgramModule(), MAKEINTRESOURCEA(templateId), ToHwnd(owner),
                             ToDlgProc(proc), param);
}

bool EndDialog(WindowHandle dialog, LResult result) {
    return ::EndDialog(ToHwnd(dialog), result) != FALSE;
}

LParam SetWindowLongPtrA(WindowHandle dialog, int index, LParam value) {
    return ::SetWindowLongPtrA(ToHwnd(dialog), index, value);
}

LParam GetWindowLongPtrA(WindowHandle dialog, int index) {
    return ::GetWindowLongPtrA(ToHwnd(dialog), index);
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
    return FromHwnd(::GetDlgItem(ToHwnd(dialog), id));
}

bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text) {
    return ::SetDlgItemTextA(ToHwnd(dialog), id, text) != FALSE;
}

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
