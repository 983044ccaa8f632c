#pragma once
// UTF-16 text, as the player's files carry it, and its conversion to the ANSI code page.
#include <cstddef>

namespace platform {

// Converts wide[0 .. wideLength) to the ANSI code page (CP_ACP, no flags, no default character, so
// unmappable characters become '?'). Writes at most narrowCapacity bytes and returns the bytes
// written, a NUL included when wide[] held one; 0 on failure (ERROR_INSUFFICIENT_BUFFER when the
// result does not fit, the buffer then holding a partial, unterminated result). With narrowCapacity
// 0, returns the bytes needed and writes nothing.
int WideCharToMultiByte(const char16_t* wide, int wideLength, char* narrow, int narrowCapacity);

// Number of code units before the first NUL unit; `wide` must hold one.
std::size_t wcslen(const char16_t* wide);

} // namespace platform
