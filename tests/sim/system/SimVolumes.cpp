#include "platform/Volumes.h"
#include "sim/system/SimCalls.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <cstring>
#include <string>

namespace platform {
namespace {

// The present drive, or null (and the last error set) when `path` names none.
const sim::SimDrive* PresentDrive(sim::MachineState& machine, const char* path) {
    const char letter = path == nullptr ? 0 : sim::DriveLetterOf(path);
    const auto found = machine.drives.find(letter);
    if (found == machine.drives.end() || !found->second.present) {
        sim::SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    return &found->second;
}

} // namespace

std::uint32_t GetLogicalDriveStringsA(std::uint32_t bufferLength, char* buffer) {
    if (const long error = sim::BeforeCall(sim::CallKind::DriveStrings, "")) {
        sim::SetLastError(error);
        return 0;
    }
    sim::MachineState& machine = sim::Machine();
    std::lock_guard hold(machine.lock);
    std::string roots;
    for (const auto& [letter, drive] : machine.drives) {
        if (drive.present) {
            roots += letter;
            roots += ":\\";
            roots += '\0';
        }
    }
    const auto length = static_cast<std::uint32_t>(roots.size());
    if (length + 1 > bufferLength) {
        return length + 1;
    }
    std::memcpy(buffer, roots.c_str(), length + 1);
    return length;
}

unsigned GetDriveTypeA(const char* rootPath) {
    if (sim::BeforeCall(sim::CallKind::DriveType, rootPath == nullptr ? "" : rootPath) != 0) {
        return DRIVE_UNKNOWN;
    }
    sim::MachineState& machine = sim::Machine();
    std::lock_guard hold(machine.lock);
    const sim::SimDrive* drive = PresentDrive(machine, rootPath);
    return drive == nullptr ? DRIVE_NO_ROOT_DIR : drive->type;
}

bool GetDiskFreeSpaceExA(const char* directory, std::uint64_t* freeBytesAvailableToCaller,
                         std::uint64_t* totalNumberOfBytes, std::uint64_t* totalNumberOfFreeBytes) {
    if (const long error = sim::BeforeCall(sim::CallKind::FreeSpace, directory == nullptr ? "" : directory)) {
        sim::SetLastError(error);
        return false;
    }
    sim::MachineState& machine = sim::Machine();
    std::lock_guard hold(machine.lock);
    const sim::SimDrive* drive = PresentDrive(machine, directory);
    if (drive == nullptr) {
        return false;
    }
    if (!drive->freeBytes) {
        sim::SetLastError(ERROR_NOT_READY);
        return false;
    }
    for (std::uint64_t* out : {freeBytesAvailableToCaller, totalNumberOfBytes, totalNumberOfFreeBytes}) {
        if (out != nullptr) {
            *out = *drive->freeBytes;
        }
    }
    return true;
}

} // namespace platform
