#pragma once
// Drive letters, their kind and their free space.
#include "platform/SystemValue.h"

#include <cstdint>

PLATFORM_VALUE(unsigned, DRIVE_NO_ROOT_DIR, 1)
PLATFORM_VALUE(unsigned, DRIVE_REMOVABLE, 2)

namespace platform {

// Writes the drive roots ("C:\", NUL-terminated each, then one more NUL) into buffer[0 .. bufferLength).
// Returns the length written without the final NUL; the length needed (buffer untouched) when it
// does not fit; 0 on failure.
std::uint32_t GetLogicalDriveStringsA(std::uint32_t bufferLength, char* buffer);
// DRIVE_* kind of the drive whose root is `rootPath` ("E:\"); DRIVE_NO_ROOT_DIR when there is none.
unsigned GetDriveTypeA(const char* rootPath);
// Free space of the volume holding `directory`; false (out-values untouched) on failure.
bool GetDiskFreeSpaceExA(const char* directory, std::uint64_t* freeBytesAvailableToCaller,
                         std::uint64_t* totalNumberOfBytes, std::uint64_t* totalNumberOfFreeBytes);
// Geometry of the volume whose root is `rootPath` ("E:\"), its sector size among it; any out-value
// may be null; false (out-values untouched) on failure.
bool GetDiskFreeSpaceA(const char* rootPath, std::uint32_t* sectorsPerCluster, std::uint32_t* bytesPerSector,
                       std::uint32_t* numberOfFreeClusters, std::uint32_t* totalNumberOfClusters);

} // namespace platform
