#pragma once
// The real system's message boxes, found, read and answered from outside them, in this process or
// in another under the same Wine server. A box is a top-level dialog whose text is the static
// 0xFFFF (an About box's unnamed statics carry that id too); it has only the buttons it was asked
// for, with the ids IDOK, IDCANCEL, IDYES and IDNO. A posted click answers it: a sent one would wait
// for the box's own loop to end.
#include <windows.h>

#include "WaitFor.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

inline constexpr int kBoxTextId = 0xFFFF;

inline bool IsDialogClass(HWND window) {
    char className[64] = {};
    return GetClassNameA(window, className, sizeof className) > 0 && std::string_view(className) == "#32770";
}

inline std::string TextOf(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The first top-level dialog-class window for which `accept` holds, or null.
inline HWND FindDialog(const std::function<bool(HWND)>& accept) {
    struct Search {
        const std::function<bool(HWND)>* accept;
        HWND found;
    } search{&accept, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (IsDialogClass(window) && (*s.accept)(window)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline bool IsMessageBox(HWND window) {
    return IsDialogClass(window) && GetDlgItem(window, kBoxTextId) != nullptr;
}

// The first visible message box for which `accept` holds, once one is up; null when none came.
inline HWND WaitForMessageBox(const std::function<bool(HWND)>& accept,
                              std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    HWND box = nullptr;
    WaitFor(
        [&] {
            box = FindDialog([&](HWND w) { return IsMessageBox(w) && IsWindowVisible(w) && accept(w); });
            return box != nullptr;
        },
        deadline);
    return box;
}

inline std::string BoxText(HWND box) {
    return TextOf(GetDlgItem(box, kBoxTextId));
}

// MB_OK, MB_OKCANCEL or MB_YESNO by the buttons the box carries; ~0u for any other set.
inline unsigned ButtonsOf(HWND box) {
    const auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    if (has(IDYES) && has(IDNO) && !has(IDOK) && !has(IDCANCEL)) {
        return MB_YESNO;
    }
    if (has(IDOK) && !has(IDYES) && !has(IDNO)) {
        return has(IDCANCEL) ? MB_OKCANCEL : MB_OK;
    }
    return ~0u;
}

// Clicks `button` of a box or dialog, with the notice a real click sends.
inline void PostClick(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}
