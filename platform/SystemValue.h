#pragma once
// PLATFORM_VALUE(type, NAME, value): a value of the system's headers that the portable code names,
// with the system's name. Where those headers are in scope (a Win32 file includes <windows.h> before
// any of ours), the compiler checks that the system's value is the one declared here; everywhere
// else, the host and the portable files of the Windows build among them, this declares it.
#ifdef _WINDOWS_
#define PLATFORM_VALUE(type, name, value)                                                                    \
    static_assert((name) == (value), #name " differs from the system's");
#else
#define PLATFORM_VALUE(type, name, value) inline constexpr type name = value;
#endif
