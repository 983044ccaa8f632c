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

} // namespace platform
