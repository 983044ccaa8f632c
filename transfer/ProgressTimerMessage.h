#pragma once
// The request by which the transfer worker has the dialog start or stop its progress timer: timers
// belong to the window's thread, so the worker sends this and the dialog acts on its own thread.
#include "platform/Types.h"
#include "platform/WindowMessages.h"

// wParam: kStartProgressTimer starts ID_TIMER_PROGRESS with kProgressPeriodMs (replacing a running
// one), kStopProgressTimer stops it. Sent, never posted, so the timer has changed when it returns.
inline constexpr unsigned WM_PROGRESS_TIMER = WM_APP + 1;
inline constexpr platform::WParam kStopProgressTimer = 0;
inline constexpr platform::WParam kStartProgressTimer = 1;
