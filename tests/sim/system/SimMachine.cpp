#include "sim/system/SimMachineState.h"

#include "tests/common/SystemValues.h"

#include <algorithm>
#include <cctype>
#include <vector>

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
    });
}

void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType) {
    Locked([&](MachineState& machine) {
        machine.drives[letter] = {.folder = folder, .type = driveType, .medium = ++machine.media};
    });
}

void UnplugDrive(char letter) {
    Locked([letter](MachineState& machine) {
        if (SimDrive* drive = PresentDrive(machine, letter)) {
            drive->present = false;
        }
    });
}

void RemoveMedium(char letter) {
    Locked([letter](MachineState& machine) {
        SimDrive& drive = machine.drives.at(letter);
        drive.hasMedium = false;
        drive.medium = ++machine.media;
    });
}

void SetFreeSpace(char letter, std::uint64_t freeBytes) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).freeBytes = freeBytes; });
}

void SetSectorSize(char letter, std::uint32_t bytes) {
    Locked([&](MachineState& machine) { machine.drives.at(letter).sectorBytes = bytes; });
}

void BreakWritesAfter(char letter, std::uint64_t bytes, WriteFault fault) {
    Locked([&](MachineState& machine) {
        SimDrive& drive = machine.drives.at(letter);
        drive.writeFault = fault;
        drive.writesBeforeFault = bytes;
    });
}

ScopedCallHook::ScopedCallHook(CallHook hook) {
    Locked([&](MachineState& machine) {
        id_ = machine.nextHook++;
        machine.hooks.emplace(id_, std::move(hook));
    });
}

ScopedCallHook::~ScopedCallHook() {
    Locked([this](MachineState& machine) { machine.hooks.erase(id_); });
}

long BeforeCall(Call call) {
    std::vector<CallHook> hooks;
    Locked([&hooks](MachineState& machine) {
        for (const auto& [id, hook] : machine.hooks) {
            hooks.push_back(hook);
        }
    });
    call.drive = DriveLetterOf(call.path);
    for (const CallHook& hook : hooks) {
        if (const long error = hook(call)) {
            return error;
        }
    }
    const bool listedOnly = call.kind == CallKind::DriveStrings || call.kind == CallKind::DriveType;
    const bool noMedium = Locked([&call](MachineState& machine) {
        const SimDrive* drive = PresentDrive(machine, call.drive);
        return drive != nullptr && !drive->hasMedium;
    });
    return noMedium && !listedOnly ? ERROR_NOT_READY : 0;
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
