#pragma once
// Inside of the simulated machine, shared by the simulated system services. Not for tests.
#include "sim/system/SimMachine.h"

#include <map>
#include <mutex>
#include <optional>

namespace platform::sim {

struct SimDrive {
    std::filesystem::path folder;
    unsigned type = 0;
    bool present = true;
    bool hasMedium = true;
    std::uint64_t freeBytes = kDefaultFreeBytes;
    std::uint32_t sectorBytes = kDefaultSectorBytes;
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
    std::map<int, CallHook> hooks;                                  // by installation order
    int nextHook = 0;
};

// Runs `use` on the one machine with its lock held and returns what it returns.
MachineState& Machine();
template <typename Use> auto Locked(Use&& use) {
    std::lock_guard hold(Machine().lock);
    return use(Machine());
}

// Asked before each call: 0, or the error the call must fail with.
long BeforeCall(Call call);

// The drive letter a path starts with ("E:..."), upper case, or 0 for a host path.
char DriveLetterOf(const std::string& path);
SimDrive* PresentDrive(MachineState& machine, char letter); // null when unmapped or unplugged
// The host path that `path` names; none when it is on a letter that is not present.
std::optional<std::filesystem::path> ResolvePath(MachineState& machine, const std::string& path);

void SetLastError(long code);

} // namespace platform::sim
