#include "platform/win32/window/Handles.h"

#include <commctrl.h>

#include <mutex>

namespace platform {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

// The portable procedure rides in DWLP_USER. It is taken from `pendingProc` by the first message
// the new dialog receives, which arrives on this thread before DialogBoxParamA's loop starts.
thread_local DialogProc pendingProc = nullptr;

INT_PTR CALLBACK Trampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<DialogProc>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (proc == nullptr) {
        proc = pendingProc;
        pendingProc = nullptr;
        if (proc == nullptr) {
            return FALSE;
        }
        ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(proc));
    }
    return proc(FromHwnd(dialog), message, wParam, lParam);
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
    pendingProc = proc;
    const INT_PTR result = ::DialogBoxParamA(win32::ProgramModule(), MAKEINTRESOURCEA(templateId),
                                             ToHwnd(owner), Trampoline, param);
    pendingProc = nullptr;
    return result;
}

bool EndDialog(WindowHandle dialog, LResult result) {
    return ::EndDialog(ToHwnd(dialog), result) != FALSE;
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
    return FromHwnd(::GetDlgItem(ToHwnd(dialog), id));
}

bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text) {
    return ::SetDlgItemTextA(ToHwnd(dialog), id, text) != FALSE;
}

std::string GetDlgItemTextA(WindowHandle dialog, int id) {
    const HWND control = ::GetDlgItem(ToHwnd(dialog), id);
    if (control == nullptr) {
        return {};
    }
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace platform
