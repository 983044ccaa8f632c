#pragma once
// The simulated machine behind the platform's system services on the host: a registry, and drive
// letters mapped to host folders of real host files. "X:\name" resolves into the folder mapped to X;
// any other path is a host path as it is. Thread-safe: the transfer worker reaches it from its own
// thread. ResetMachine() between tests.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

void ResetMachine(); // forgets every key, value and drive

// The local machine hive; key paths and value names ignore case. A value's stored data is `data`
// plus its NUL; setting it creates its key.
void CreateRegistryKey(const std::string& keyPath);
void SetRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& data);

inline constexpr std::uint64_t kDefaultFreeBytes = 1ull << 30;
inline constexpr std::uint32_t kDefaultSectorBytes = 512;

// Maps `letter` (upper case) to a host folder with a DRIVE_* type, kDefaultFreeBytes free and sectors
// of kDefaultSectorBytes, replacing an earlier mapping and its faults. Each mapping is a new medium:
// a file opened on an earlier one stays failed.
void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType);
void UnplugDrive(char letter); // open files on it fail from then on with ERROR_NOT_READY
// An empty card slot: the drive stays listed with its type, but every call on a path on it, and on
// a file opened before, fails with ERROR_NOT_READY. MapDrive puts a medium in again.
void RemoveMedium(char letter);
void SetFreeSpace(char letter, std::uint64_t freeBytes); // every figure GetDiskFreeSpaceExA gives
// The sector size GetDiskFreeSpaceA gives, in whose steps an unbuffered read must go, as on Windows
// (Wine lets any read through). Such a read comes from the host's medium, not its cache.
void SetSectorSize(char letter, std::uint32_t bytes);

enum class WriteFault {
    FailsWrite, // the disk is full: the write stores nothing and fails with ERROR_DISK_FULL
    ShortWrite, // the disk is full: the write stores what fits and reports success with that count
    Unplugs,    // the drive goes: the write stores what fits and fails with ERROR_NOT_READY
    Corrupts,   // a failing cable: the write succeeds but stores the byte at the mark inverted, and
                // every later write its first byte
};
// After `bytes` more bytes written to files on the drive, writes break in the given way.
void BreakWritesAfter(char letter, std::uint64_t bytes, WriteFault fault);

// Every file, volume and registry call first asks the installed hooks, which see the call and may
// fail it; a hook may also change the machine (unplug a drive, fill a disk) before the call goes on.
enum class CallKind {
    Open,
    GetLength,
    Read,
    Write,
    SetLength,
    Seek,
    Flush,
    Move,
    Delete,
    Find,
    DriveStrings,
    DriveType,
    FreeSpace, // GetDiskFreeSpaceExA and GetDiskFreeSpaceA
    RegistryOpen,
    RegistryQuery,
};
struct Call {
    CallKind kind;
    std::string path;        // the file, root or key ("key\value" for a query); empty for the drive list
    bool writes = false;     // an open for writing
    std::string target = {}; // a rename's new name
    char drive = 0;          // the letter `path` starts with, upper case; 0 for any other path
    bool unbuffered = false; // an open past the system's cache
};
using CallHook = std::function<long(const Call&)>; // 0 to let the call go on, or its system error

// Installs a hook while it lives. Hooks run on the calling thread in the order they were installed,
// with no lock of the machine held; the first error wins.
class ScopedCallHook {
public:
    explicit ScopedCallHook(CallHook hook);
    ~ScopedCallHook();
    ScopedCallHook(const ScopedCallHook&) = delete;
    ScopedCallHook& operator=(const ScopedCallHook&) = delete;

private:
    int id_;
};

// The system's CommandLineToArgvW, for the words after the program name: what the program's own
// reading of a quoted command line is held to on the host (the Windows tier asks Wine's).
std::vector<std::string> CommandLineToArgvW(std::string_view arguments);

} // namespace platform::sim
