#pragma once
// Inside of the simulated machine, shared by the simulated system services. Not for tests.
#include "sim/system/SimMachine.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace platform::sim {

struct SimDrive {
    std::filesystem::path folder;
    unsigned type = 0;
    bool present = true;
    std::optional<std::uint64_t> freeBytes = kDefaultFreeBytes;
    std::optional<std::uint64_t> writeBudget;
    FullDisk fullDisk = FullDisk::FailsWrite;
    std::optional<std::uint64_t> unplugAfter;
    bool corruptsWrites = false;
    bool readOnly = false;
    std::uint64_t medium = 0; // which mapping of the letter this is
    std::chrono::milliseconds delay{0};
};

// How a file is held open: readers share everything, a writer nothing.
struct OpenCounts {
    int readers = 0, writers = 0;
};

struct SimRegistryKey {
    std::map<std::string, std::string> values; // by lower-case name
};

struct MachineState {
    std::mutex lock;
    std::map<char, SimDrive> drives;
    std::set<std::filesystem::path> lockedFiles;
    std::map<std::filesystem::path, OpenCounts> openFiles; // by normalised host path
    std::uint64_t media = 0;
    std::map<std::string, SimRegistryKey> keys; // by normalised path
    std::map<std::string, long> openFaults;     // by normalised key path
    std::map<std::string, long> queryFaults;    // by normalised key path + '\' + name
    int queryCount = 0;
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

// Lower case, no leading or trailing backslashes.
std::string NormaliseRegistryName(const std::string& name);

// The drive letter a path starts with ("E:..."), upper case, or 0 for a host path.
char DriveLetterOf(const std::string& path);
// ResolvePath for a caller already holding the machine's lock.
std::optional<std::filesystem::path> ResolvePathLocked(MachineState& machine, const std::string& path);
bool IsLockedLocked(MachineState& machine, const std::filesystem::path& hostPath);
// Whether `path` lies on a drive whose medium is write-protected.
bool IsReadOnlyLocked(MachineState& machine, const std::string& path);

// How many of `count` bytes a write to a file on `drive` may store, and the error it then fails
// with (0: it succeeds with that many).
struct WritePermit {
    std::uint32_t bytes = 0;
    long error = 0;
    bool corrupt = false; // store the first byte inverted
};
WritePermit PermitWrite(char drive, std::uint32_t count);
// False when the file's medium has gone (unplugged, unmapped or mapped again); host files (drive 0)
// always stay. Waits the drive's delay first.
bool MediumStillThere(char drive, std::uint64_t medium);

bool FlushesSync();

void SetLastError(long code);
// The platform's code for a failed host call's errno.
long ErrorFromErrno(int error);

} // namespace platform::sim
