#pragma once
// Handle and message-parameter types of the platform layer. They carry the values of the
// operating system's own handles and parameters without exposing its headers.
#include <cstdint>

namespace platform {

struct WindowTag;
// A window or control; null when there is none. Never owned by the portable code.
using WindowHandle = WindowTag*;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

} // namespace platform
