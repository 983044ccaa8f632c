#include "platform/win32/window/Handles.h"

#include <commctrl.h>

#include <mutex>
#include <type_traits>

namespace platform {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

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

} // namespace platform
