#pragma once
// The updater dialog's timers and their periods.
#include <cstdint>

inline constexpr std::uintptr_t ID_TIMER_POLL = 32001;
inline constexpr std::uintptr_t ID_TIMER_PROGRESS = 32002;

inline constexpr unsigned kPollPeriodMs = 2000;
inline constexpr unsigned kProgressPeriodMs = 50;
