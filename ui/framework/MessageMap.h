#pragma once
// A dialog's message map: a constexpr table from a message (and, for WM_COMMAND, the control id
// and notification code) to a member handler with a typed signature. Each Map… helper below
// states the signature it accepts and unpacks wParam/lParam for it; ModalDialog::Dispatch reads
// the table and alone turns the handler's answer into a dialog-procedure result.
#include "platform/Window.h"

#include <type_traits>

template <typename Dialog> struct MessageEntry {
    unsigned message;
    int controlId;       // WM_COMMAND only
    unsigned notifyCode; // WM_COMMAND only
    platform::LResult (*invoke)(Dialog& dialog, platform::WParam wParam, platform::LParam lParam);

    constexpr bool Matches(unsigned candidate, platform::WParam wParam) const {
        if (candidate != message) {
            return false;
        }
        return message != WM_COMMAND ||
               (static_cast<int>(wParam & 0xFFFF) == controlId && ((wParam >> 16) & 0xFFFF) == notifyCode);
    }
};

namespace message_map_detail {
template <typename> struct MemberOf;
template <typename Dialog, typename Result, typename... Arguments>
struct MemberOf<Result (Dialog::*)(Arguments...)> {
    using Class = Dialog;
};
template <auto handler> using DialogOf = typename MemberOf<decltype(handler)>::Class;
template <auto handler, typename Signature>
concept HasSignature = std::is_same_v<decltype(handler), Signature DialogOf<handler>::*>;
} // namespace message_map_detail

// void OnSysCommand(unsigned id, LParam param)
template <auto handler>
requires message_map_detail::HasSignature<handler, void(unsigned, platform::LParam)>
constexpr auto MapSysCommand() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_SYSCOMMAND, 0, 0,
                                [](Dialog& dialog, platform::WParam wParam, platform::LParam lParam) {
                                    (dialog.*handler)(static_cast<unsigned>(wParam), lParam);
                                    return platform::LResult{0};
                                }};
}

// void OnPaint()
template <auto handler>
requires message_map_detail::HasSignature<handler, void()>
constexpr auto MapPaint() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_PAINT, 0, 0, [](Dialog& dialog, platform::WParam, platform::LParam) {
                                    (dialog.*handler)();
                                    return platform::LResult{0};
                                }};
}

// IconHandle OnQueryDragIcon()
template <auto handler>
requires message_map_detail::HasSignature<handler, platform::IconHandle()>
constexpr auto MapQueryDragIcon() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_QUERYDRAGICON, 0, 0,
                                [](Dialog& dialog, platform::WParam, platform::LParam) {
                                    return reinterpret_cast<platform::LResult>((dialog.*handler)());
                                }};
}

// void OnTimer(std::uintptr_t id)
template <auto handler>
requires message_map_detail::HasSignature<handler, void(std::uintptr_t)>
constexpr auto MapTimer() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_TIMER, 0, 0,
                                [](Dialog& dialog, platform::WParam wParam, platform::LParam) {
                                    (dialog.*handler)(static_cast<std::uintptr_t>(wParam));
                                    return platform::LResult{0};
                                }};
}

// LResult OnDeviceChange(WParam event, LParam data)
template <auto handler>
requires message_map_detail::HasSignature<handler, platform::LResult(platform::WParam, platform::LParam)>
constexpr auto MapDeviceChange() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_DEVICECHANGE, 0, 0,
                                [](Dialog& dialog, platform::WParam wParam, platform::LParam lParam) {
                                    return (dialog.*handler)(wParam, lParam);
                                }};
}

// void OnUpgrade(): WM_COMMAND from control `id` with notification `code` (BN_CLICKED for a button)
template <int id, unsigned code, auto handler>
requires message_map_detail::HasSignature<handler, void()>
constexpr auto MapCommand() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{WM_COMMAND, id, code, [](Dialog& dialog, platform::WParam, platform::LParam) {
                                    (dialog.*handler)();
                                    return platform::LResult{0};
                                }};
}

// LResult OnX(WParam, LParam): a message of the program's own, such as WM_APP + n
template <unsigned message, auto handler>
requires message_map_detail::HasSignature<handler, platform::LResult(platform::WParam, platform::LParam)>
constexpr auto MapMessage() {
    using Dialog = message_map_detail::DialogOf<handler>;
    return MessageEntry<Dialog>{message, 0, 0,
                                [](Dialog& dialog, platform::WParam wParam, platform::LParam lParam) {
                                    return (dialog.*handler)(wParam, lParam);
                                }};
}
