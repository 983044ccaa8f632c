#pragma once
// System errors: the calling thread's last error code, and the codes the portable code tests for,
// with the platform's names and values. Guarded, because the Win32 implementation also sees the
// platform's own macros.
#include <cstdint>

#ifndef ERROR_SUCCESS
inline constexpr long ERROR_SUCCESS = 0;
#endif
#ifndef ERROR_FILE_NOT_FOUND
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
#endif
#ifndef ERROR_ACCESS_DENIED
inline constexpr long ERROR_ACCESS_DENIED = 5;
#endif
#ifndef ERROR_INVALID_HANDLE
inline constexpr long ERROR_INVALID_HANDLE = 6;
#endif
#ifndef ERROR_WRITE_PROTECT
inline constexpr long ERROR_WRITE_PROTECT = 19;
#endif
#ifndef ERROR_SHARING_VIOLATION
inline constexpr long ERROR_SHARING_VIOLATION = 32;
#endif
#ifndef ERROR_LOCK_VIOLATION
inline constexpr long ERROR_LOCK_VIOLATION = 33;
#endif
#ifndef ERROR_INVALID_PARAMETER
inline constexpr long ERROR_INVALID_PARAMETER = 87;
#endif
#ifndef ERROR_DISK_FULL
inline constexpr long ERROR_DISK_FULL = 112;
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
inline constexpr long ERROR_INSUFFICIENT_BUFFER = 122;
#endif
#ifndef ERROR_ALREADY_EXISTS
inline constexpr long ERROR_ALREADY_EXISTS = 183;
#endif
#ifndef ERROR_KEY_DELETED
inline constexpr long ERROR_KEY_DELETED = 1018;
#endif
#ifndef ERROR_MORE_DATA
inline constexpr long ERROR_MORE_DATA = 234;
#endif

namespace platform {

// The code left by the last platform call of this thread that failed and says it sets one.
long GetLastError();

} // namespace platform
