#pragma once
// The simulated machine behind the platform's system services on the host: a registry and drive
// letters mapped to host folders. ResetMachine() between tests. A fault of single calls is made
// through the call hook (SimCalls.h); the faults here need state the hook cannot keep.
//
// Paths "X:\name" resolve to the folder mapped to X (backslashes become slashes); any other path is
// a host path as it is. Files are real host files. Thread-safe: the transfer worker reaches it from
// its own thread.
#include <cstdint>
#include <filesystem>
#include <string>

namespace platform::sim {

// Forgets every key, value and drive.
void ResetMachine();

// The local machine hive; key paths and value names compare ignoring case. A value's stored data
// is `data` plus its NUL; setting it creates its key.
void CreateRegistryKey(const std::string& keyPath);
void SetRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& data);

inline constexpr std::uint64_t kDefaultFreeBytes = 1ull << 30;

// Maps `letter` (upper case) to an existing host folder with a DRIVE_* kind and kDefaultFreeBytes
// of free space; replaces an earlier mapping and its faults. Each mapping is a new medium: files
// opened on an earlier one stay failed.
void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType);
// The letter disappears; open files on it fail from then on with ERROR_NOT_READY.
void UnplugDrive(char letter);
// The figure GetDiskFreeSpaceExA reports for every out-value.
void SetFreeSpace(char letter, std::uint64_t freeBytes);

enum class WriteFault {
    FailsWrite, // the disk is full: the write stores nothing and fails with ERROR_DISK_FULL
    ShortWrite, // the disk is full: the write stores what fits and reports success with that count
    Unplugs,    // the drive goes: the write stores what fits and fails with ERROR_NOT_READY
    Corrupts,   // a failing medium or cable: the write reports success but stores the byte at the
                // mark inverted, and every later write its first byte
};
// After `bytes` more bytes written to files on the drive, writes break in the given way.
void BreakWritesAfter(char letter, std::uint64_t bytes, WriteFault fault);

// Whether File::Flush syncs the host file (the default, which the benchmarks measure). Later readers
// see what was written either way, so a test of many whole runs may turn it off.
void SetFlushesSync(bool sync);

} // namespace platform::sim
