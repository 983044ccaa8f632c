#include "sim/system/SimMachineState.h"

#include <algorithm>
#include <cctype>

namespace platform::sim {
namespace {

thread_local long lastError = 0;

} // namespace

MachineState& Machine() {
    static MachineState machine;
    return machine;
}

void ResetMachine() {
    Locked([](MachineState& machine) {
        machine.drives.clear();
        machine.openFiles.clear();
        machine.keys.clear();
        machine.flushesSync = true;
    });
}

void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType) {
    Locked([&](MachineState& machine) {
        machine.drives[letter] = {.folder = folder, .type = driveType, .medium = ++machine.media};
    });
}

void UnplugDrive(char letter) {
    Locked([letter](MachineState& machine) {
        if (auto found = machine.drives.find(letter); found != machine.drives.end()) {
            found->second.present = false;
        }
    });
}

void SetFreeSpace(char letter, std::uint64_t freeBytes) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).freeBytes = freeBytes; });
}

void BreakWritesAfter(char letter, std::uint64_t bytes, WriteFault fault) {
    Locked([&](MachineState& machine) {
        SimDrive& drive = machine.drives.at(letter);
        drive.writeFault = fault;
        drive.writesBeforeFault = bytes;
    });
}

void SetFlushesSync(bool sync) {
    Locked([sync](MachineState& machine) { machine.flushesSync = sync; });
}

char DriveLetterOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    }
    return 0;
}

SimDrive* PresentDrive(MachineState& machine, char letter) {
    const auto found = machine.drives.find(letter);
    return found == machine.drives.end() || !found->second.present ? nullptr : &found->second;
}

std::optional<std::filesystem::path> ResolvePath(MachineState& machine, const std::string& path) {
    const char letter = DriveLetterOf(path);
    if (letter == 0) {
        return std::filesystem::path(path);
    }
    const SimDrive* drive = PresentDrive(machine, letter);
    if (drive == nullptr) {
        return std::nullopt;
    }
    std::string rest = path.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    rest.erase(0, rest.find_first_not_of('/'));
    return rest.empty() ? drive->folder : drive->folder / rest;
}

void SetLastError(long code) {
    lastError = code;
}

} // namespace platform::sim

namespace platform {

long GetLastError() {
    return sim::lastError;
}

} // namespace platform
