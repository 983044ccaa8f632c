#pragma once
// Values of the system that only tests name: drive types the program never meets, errors it only
// passes on, and the answer No, which only the exit question gets. With the platform's names and
// values, guarded as the platform's headers are, since the Windows tier also sees the system's macros.
#ifndef DRIVE_UNKNOWN
inline constexpr unsigned DRIVE_UNKNOWN = 0;
#endif
#ifndef DRIVE_FIXED
inline constexpr unsigned DRIVE_FIXED = 3;
#endif
#ifndef DRIVE_REMOTE
inline constexpr unsigned DRIVE_REMOTE = 4;
#endif
#ifndef DRIVE_CDROM
inline constexpr unsigned DRIVE_CDROM = 5;
#endif
#ifndef DRIVE_RAMDISK
inline constexpr unsigned DRIVE_RAMDISK = 6;
#endif
#ifndef ERROR_PATH_NOT_FOUND
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
#endif
#ifndef ERROR_NOT_READY
inline constexpr long ERROR_NOT_READY = 21;
#endif
#ifndef IDNO
inline constexpr int IDNO = 7;
#endif
