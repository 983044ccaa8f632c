#pragma once
// Values of the system that only tests name: drive types the program never meets, errors it only
// passes on, and the answer No, which only the exit question gets. With the platform's names and
// values, checked against the system's where the Windows tier sees them.
#include "platform/SystemValue.h"

PLATFORM_VALUE(unsigned, DRIVE_UNKNOWN, 0)
PLATFORM_VALUE(unsigned, DRIVE_FIXED, 3)
PLATFORM_VALUE(unsigned, DRIVE_REMOTE, 4)
PLATFORM_VALUE(unsigned, DRIVE_CDROM, 5)
PLATFORM_VALUE(unsigned, DRIVE_RAMDISK, 6)
PLATFORM_VALUE(long, ERROR_PATH_NOT_FOUND, 3)
PLATFORM_VALUE(long, ERROR_NOT_READY, 21)
PLATFORM_VALUE(long, ERROR_INVALID_NAME, 123)
PLATFORM_VALUE(long, ERROR_FILENAME_EXCED_RANGE, 206)
PLATFORM_VALUE(unsigned, MAX_PATH, 260)
PLATFORM_VALUE(int, IDNO, 7)
