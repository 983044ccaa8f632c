#pragma once
#include <string>

namespace platform {

// The `\\?\` form of the full path of `ansiPath` (in the program's code page), which the wide file
// calls take at any length; empty, with the last error set, when it cannot be formed.
std::wstring ExtendedLengthPath(const std::string& ansiPath);

} // namespace platform
