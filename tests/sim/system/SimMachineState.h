#pragma once
// Inside of the simulated machine, shared by the simulated system services. Not for tests.
#include "sim/system/SimMachine.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace platform::sim {

struct SimDrive {
    std::filesystem::path folder;
    unsigned type = 0;
    bool present = true;
    std::uint64_t freeBytes = kDefaultFreeBytes;
    std::optional<WriteFault> writeFault = {};
    std::uint64_t writesBeforeFault = 0;
    std::uint64_t medium = 0; // which mapping of the letter this is
};

// How many handles hold a file open: readers share it with readers, a writer with no one.
struct OpenCounts {
    int readers = 0, writers = 0;
};

struct MachineState {
    std::mutex lock;
    std::map<char, SimDrive> drives;
    std::map<std::filesystem::path, OpenCounts> openFiles; // by normalised host path
    std::uint64_t media = 0;
    std::map<std::string, std::map<std::string, std::string>> keys; // values by name; lower case
    bool flushesSync = true;
};

// The one machine; hold its lock while touching it.
MachineState& Machine();

// Runs `use` on the machine with its lock held and returns what it returns.
template <typename Use> auto Locked(Use&& use) {
    MachineState& machine = Machine();
    std::lock_guard hold(machine.lock);
    return use(machine);
}

// The drive letter a path starts with ("E:..."), upper case, or 0 for a host path.
char DriveLetterOf(const std::string& path);
// The drive mapped to `letter` if it is present, or null.
SimDrive* PresentDrive(MachineState& machine, char letter);
// The host path that `path` names, or none when it is on a letter that is not mapped (or unplugged).
std::optional<std::filesystem::path> ResolvePath(MachineState& machine, const std::string& path);

void SetLastError(long code);

} // namespace platform::sim
