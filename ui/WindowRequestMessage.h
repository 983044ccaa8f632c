#pragma once
// The message by which the window's requests reach the updater dialog: timers belong to the
// window's thread, so a request from the worker is sent there and served on that thread.
#include "platform/Types.h"
#include "platform/WindowMessages.h"

// Sent, never posted, so the request has been served when the send returns.
inline constexpr unsigned WM_WINDOW_REQUEST = WM_APP + 1;

// Its wParam.
enum class WindowRequest : platform::WParam {
    StopPolling,    // the poll timer stops
    HoldProgress,   // the progress timer stops while a box is up
    ResumeProgress, // and starts again after it
    StopProgress,   // the progress timer stops for good, the bar and its counter go back to 0
};
