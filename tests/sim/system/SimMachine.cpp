#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <thread>

namespace platform::sim {
namespace {

thread_local long lastError = 0;

std::string QueryFaultKey(const std::string& keyPath, const std::string& valueName) {
    return NormaliseRegistryName(keyPath) + '\\' + NormaliseRegistryName(valueName);
}

} // namespace

MachineState& Machine() {
    static MachineState machine;
    return machine;
}

void ResetMachine() {
    Locked([&](MachineState& machine) {
        machine.drives.clear();
        machine.lockedFiles.clear();
        machine.openFiles.clear();
        machine.keys.clear();
        machine.openFaults.clear();
        machine.queryFaults.clear();
        machine.queryCount = 0;
        machine.flushesSync = true;
    });
}

void SetFlushesSync(bool sync) {
    Locked([&](MachineState& machine) { machine.flushesSync = sync; });
}

bool FlushesSync() {
    return Locked([&](MachineState& machine) { return machine.flushesSync; });
}

std::string NormaliseRegistryName(const std::string& name) {
    std::string result;
    for (char c : name) {
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const auto first = result.find_first_not_of('\\');
    if (first == std::string::npos) {
        return {};
    }
    return result.substr(first, result.find_last_not_of('\\') - first + 1);
}

void CreateRegistryKey(const std::string& keyPath) {
    Locked([&](MachineState& machine) { machine.keys[NormaliseRegistryName(keyPath)]; });
}

void SetRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& data) {
    Locked([&](MachineState& machine) {
        machine.keys[NormaliseRegistryName(keyPath)].values[NormaliseRegistryName(valueName)] = data;
    });
}

void FailRegistryQuery(const std::string& keyPath, const std::string& valueName, long error) {
    Locked([&](MachineState& machine) {
        if (error == 0) {
            machine.queryFaults.erase(QueryFaultKey(keyPath, valueName));
        } else {
            machine.queryFaults[QueryFaultKey(keyPath, valueName)] = error;
        }
    });
}

void FailRegistryOpen(const std::string& keyPath, long error) {
    Locked([&](MachineState& machine) {
        if (error == 0) {
            machine.openFaults.erase(NormaliseRegistryName(keyPath));
        } else {
            machine.openFaults[NormaliseRegistryName(keyPath)] = error;
        }
    });
}

int RegistryQueryCount() {
    return Locked([&](MachineState& machine) { return machine.queryCount; });
}

void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType) {
    Locked([&](MachineState& machine) {
        SimDrive drive;
        drive.folder = folder;
        drive.type = driveType;
        drive.medium = ++machine.media;
        machine.drives[letter] = drive;
    });
}

void UnplugDrive(char letter) {
    Locked([&](MachineState& machine) {
        if (auto found = machine.drives.find(letter); found != machine.drives.end()) {
            found->second.present = false;
        }
    });
}

void SetDriveDelay(char letter, std::chrono::milliseconds delay) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).delay = delay; });
}

void SetFreeSpace(char letter, std::optional<std::uint64_t> freeBytes) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).freeBytes = freeBytes; });
}

void SetWriteBudget(char letter, std::uint64_t bytes, FullDisk behaviour) {
    Locked([&](MachineState& machine) {
        SimDrive& drive = machine.drives.at(letter);
        drive.writeBudget = bytes;
        drive.fullDisk = behaviour;
    });
}

void UnplugAfterBytes(char letter, std::uint64_t bytes) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).unplugAfter = bytes; });
}

void CorruptWrites(char letter, bool corrupt) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).corruptsWrites = corrupt; });
}

void SetReadOnly(char letter, bool readOnly) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).readOnly = readOnly; });
}

void UnlockFile(const std::string& path) {
    Locked([&](MachineState& machine) {
        if (auto hostPath = ResolvePathLocked(machine, path)) {
            machine.lockedFiles.erase(hostPath->lexically_normal());
        }
    });
}

void LockFile(const std::string& path) {
    Locked([&](MachineState& machine) {
        if (auto hostPath = ResolvePathLocked(machine, path)) {
            machine.lockedFiles.insert(hostPath->lexically_normal());
        }
    });
}

char DriveLetterOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    }
    return 0;
}

std::optional<std::filesystem::path> ResolvePathLocked(MachineState& machine, const std::string& path) {
    const char letter = DriveLetterOf(path);
    if (letter == 0) {
        return std::filesystem::path(path);
    }
    const auto found = machine.drives.find(letter);
    if (found == machine.drives.end() || !found->second.present) {
        return std::nullopt;
    }
    std::string rest = path.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    rest.erase(0, rest.find_first_not_of('/'));
    return rest.empty() ? found->second.folder : found->second.folder / rest;
}

std::optional<std::filesystem::path> ResolvePath(const std::string& path) {
    return Locked([&](MachineState& machine) { return ResolvePathLocked(machine, path); });
}

bool IsLockedLocked(MachineState& machine, const std::filesystem::path& hostPath) {
    return machine.lockedFiles.count(hostPath.lexically_normal()) != 0;
}

bool IsReadOnlyLocked(MachineState& machine, const std::string& path) {
    const auto found = machine.drives.find(DriveLetterOf(path));
    return found != machine.drives.end() && found->second.readOnly;
}

WritePermit PermitWrite(char letter, std::uint32_t count) {
    if (letter == 0) {
        return {count, 0};
    }
    MachineState& machine = Machine();
    std::lock_guard hold(machine.lock);
    const auto found = machine.drives.find(letter);
    if (found == machine.drives.end() || !found->second.present) {
        return {0, ERROR_NOT_READY};
    }
    SimDrive& drive = found->second;
    WritePermit permit{count, 0, drive.corruptsWrites};
    if (drive.unplugAfter) {
        if (permit.bytes > *drive.unplugAfter) {
            permit = {static_cast<std::uint32_t>(*drive.unplugAfter), ERROR_NOT_READY};
            drive.present = false;
        }
        *drive.unplugAfter -= permit.bytes;
    }
    if (drive.writeBudget) {
        if (permit.bytes > *drive.writeBudget) {
            permit = drive.fullDisk == FullDisk::FailsWrite
                         ? WritePermit{0, ERROR_DISK_FULL}
                         : WritePermit{static_cast<std::uint32_t>(*drive.writeBudget), permit.error};
        }
        *drive.writeBudget -= permit.bytes;
    }
    return permit;
}

bool MediumStillThere(char letter, std::uint64_t medium) {
    if (letter == 0) {
        return true;
    }
    MachineState& machine = Machine();
    std::unique_lock hold(machine.lock);
    const auto found = machine.drives.find(letter);
    if (found == machine.drives.end()) {
        return false;
    }
    const auto delay = found->second.delay;
    hold.unlock();
    std::this_thread::sleep_for(delay);
    hold.lock();
    const auto again = machine.drives.find(letter);
    return again != machine.drives.end() && again->second.present && again->second.medium == medium;
}

void SetLastError(long code) {
    lastError = code;
}

long ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

} // namespace platform::sim

namespace platform {

long GetLastError() {
    return sim::lastError;
}

} // namespace platform
