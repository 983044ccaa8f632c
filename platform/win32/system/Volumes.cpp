#include <windows.h>

#include "platform/Volumes.h"

#include <utility>

namespace platform {

std::uint32_t GetLogicalDriveStringsA(std::uint32_t bufferLength, char* buffer) {
    return ::GetLogicalDriveStringsA(bufferLength, buffer);
}

unsigned GetDriveTypeA(const char* rootPath) {
    return ::GetDriveTypeA(rootPath);
}

bool GetDiskFreeSpaceExA(const char* directory, std::uint64_t* freeBytesAvailableToCaller,
                         std::uint64_t* totalNumberOfBytes, std::uint64_t* totalNumberOfFreeBytes) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExA(directory, &available, &total, &free)) {
        return false;
    }
    const std::pair<std::uint64_t*, ULONGLONG> outs[] = {
        {freeBytesAvailableToCaller, available.QuadPart},
        {totalNumberOfBytes, total.QuadPart},
        {totalNumberOfFreeBytes, free.QuadPart},
    };
    for (const auto& [out, value] : outs) {
        if (out != nullptr) {
            *out = value;
        }
    }
    return true;
}

bool GetDiskFreeSpaceA(const char* rootPath, std::uint32_t* sectorsPerCluster, std::uint32_t* bytesPerSector,
                       std::uint32_t* numberOfFreeClusters, std::uint32_t* totalNumberOfClusters) {
    DWORD figures[4] = {};
    if (!::GetDiskFreeSpaceA(rootPath, &figures[0], &figures[1], &figures[2], &figures[3])) {
        return false;
    }
    std::uint32_t* const outs[] = {sectorsPerCluster, bytesPerSector, numberOfFreeClusters,
                                   totalNumberOfClusters};
    for (int i = 0; i < 4; ++i) {
        if (outs[i] != nullptr) {
            *outs[i] = figures[i];
        }
    }
    return true;
}

} // namespace platform
