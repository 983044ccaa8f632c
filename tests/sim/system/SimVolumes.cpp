#include "platform/Volumes.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"
#include "tests/common/SystemValues.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace platform {
std::uint32_t GetLogicalDriveStringsA(std::uint32_t bufferLength, char* buffer) {
    if (const long error = sim::BeforeCall({sim::CallKind::DriveStrings, ""})) {
        sim::SetLastError(error);
        return 0;
    }
    const std::string roots = sim::Locked([](sim::MachineState& machine) {
        std::string roots;
        for (const auto& [letter, drive] : machine.drives) {
            if (drive.present) {
                roots += std::string{letter, ':', '\\', '\0'};
            }
        }
        return roots;
    });
    const auto length = static_cast<std::uint32_t>(roots.size());
    if (length + 1 > bufferLength) {
        return length + 1;
    }
    std::memcpy(buffer, roots.c_str(), length + 1);
    return length;
}

unsigned GetDriveTypeA(const char* rootPath) {
    if (sim::BeforeCall({sim::CallKind::DriveType, rootPath}) != 0) {
        return DRIVE_UNKNOWN;
    }
    return sim::Locked([&](sim::MachineState& machine) {
        const sim::SimDrive* drive = sim::PresentDrive(machine, sim::DriveLetterOf(rootPath));
        return drive == nullptr ? DRIVE_NO_ROOT_DIR : drive->type;
    });
}

bool GetDiskFreeSpaceExA(const char* directory, std::uint64_t* freeBytesAvailableToCaller,
                         std::uint64_t* totalNumberOfBytes, std::uint64_t* totalNumberOfFreeBytes) {
    long error = sim::BeforeCall({sim::CallKind::FreeSpace, directory});
    const std::uint64_t freeBytes = sim::Locked([&](sim::MachineState& machine) {
        const sim::SimDrive* drive = sim::PresentDrive(machine, sim::DriveLetterOf(directory));
        error = error != 0 || drive != nullptr ? error : ERROR_PATH_NOT_FOUND;
        return drive == nullptr ? 0 : drive->freeBytes;
    });
    if (error != 0) {
        sim::SetLastError(error);
        return false;
    }
    for (std::uint64_t* out : {freeBytesAvailableToCaller, totalNumberOfBytes, totalNumberOfFreeBytes}) {
        if (out != nullptr) {
            *out = freeBytes;
        }
    }
    return true;
}

bool GetDiskFreeSpaceA(const char* rootPath, std::uint32_t* sectorsPerCluster, std::uint32_t* bytesPerSector,
                       std::uint32_t* numberOfFreeClusters, std::uint32_t* totalNumberOfClusters) {
    long error = sim::BeforeCall({sim::CallKind::FreeSpace, rootPath});
    std::uint32_t sectorBytes = 0;
    std::uint64_t freeBytes = 0;
    sim::Locked([&](sim::MachineState& machine) {
        const sim::SimDrive* drive = sim::PresentDrive(machine, sim::DriveLetterOf(rootPath));
        error = error != 0 || drive != nullptr ? error : ERROR_PATH_NOT_FOUND;
        if (drive != nullptr) {
            sectorBytes = drive->sectorBytes;
            freeBytes = drive->freeBytes;
        }
    });
    if (error != 0) {
        sim::SetLastError(error);
        return false;
    }
    // Clusters of one sector: the program reads only the sector size.
    const auto clusters =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(freeBytes / sectorBytes, UINT32_MAX));
    const std::pair<std::uint32_t*, std::uint32_t> outs[] = {{sectorsPerCluster, 1},
                                                             {bytesPerSector, sectorBytes},
                                                             {numberOfFreeClusters, clusters},
                                                             {totalNumberOfClusters, clusters}};
    for (const auto& [out, value] : outs) {
        if (out != nullptr) {
            *out = value;
        }
    }
    return true;
}

} // namespace platform
