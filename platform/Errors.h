#pragma once
// System errors: the calling thread's last error code, and the codes the portable code tests for,
// with the platform's names and values.
#include "platform/SystemValue.h"

#include <cstdint>

PLATFORM_VALUE(long, ERROR_SUCCESS, 0)
PLATFORM_VALUE(long, ERROR_FILE_NOT_FOUND, 2)
PLATFORM_VALUE(long, ERROR_ACCESS_DENIED, 5)
PLATFORM_VALUE(long, ERROR_INVALID_HANDLE, 6)
PLATFORM_VALUE(long, ERROR_WRITE_PROTECT, 19)
PLATFORM_VALUE(long, ERROR_SHARING_VIOLATION, 32)
PLATFORM_VALUE(long, ERROR_LOCK_VIOLATION, 33)
PLATFORM_VALUE(long, ERROR_INVALID_PARAMETER, 87)
PLATFORM_VALUE(long, ERROR_DISK_FULL, 112)
PLATFORM_VALUE(long, ERROR_INSUFFICIENT_BUFFER, 122)
PLATFORM_VALUE(long, ERROR_ALREADY_EXISTS, 183)
PLATFORM_VALUE(long, ERROR_KEY_DELETED, 1018)
PLATFORM_VALUE(long, ERROR_MORE_DATA, 234)

namespace platform {

// The code left by the last platform call of this thread that failed and says it sets one.
long GetLastError();

} // namespace platform
