#pragma once
// The simulated machine behind the platform's system services on the host: a registry, drive
// letters mapped to host folders, and faults a test injects. ResetMachine() between tests.
//
// Paths "X:\name" resolve to the folder mapped to X (backslashes become slashes); any other path is
// a host path as it is. Files are real host files. The ANSI code page is Windows-1252.
// Thread-safe: the transfer worker reaches it from its own thread.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform::sim {

// Forgets every key, value, drive and fault, and zeroes the query count.
void ResetMachine();

// --- Registry (local machine hive; key paths and value names compare ignoring case) ---
// Creates the key (with no values) if it does not exist.
void CreateRegistryKey(const std::string& keyPath);
// Sets a string value, creating the key; the stored data is `data` plus its NUL.
void SetRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& data);
// Every later query of the value fails with `error`, whatever the value holds; 0 ends the fault.
void FailRegistryQuery(const std::string& keyPath, const std::string& valueName, long error);
// Every later open of the key fails with `error` (e.g. ERROR_ACCESS_DENIED); 0 ends the fault.
void FailRegistryOpen(const std::string& keyPath, long error);
// RegQueryValueExA calls made since the reset.
int RegistryQueryCount();

// --- Drives ---
inline constexpr std::uint64_t kDefaultFreeBytes = 1ull << 30;

// Maps `letter` (upper case) to an existing host folder with a DRIVE_* kind and
// kDefaultFreeBytes of free space; replaces an earlier mapping and its faults. Each mapping is a
// new medium: files opened on an earlier one stay failed.
void MapDrive(char letter, const std::filesystem::path& folder, unsigned driveType);
// The letter disappears; open files on it fail from then on with ERROR_NOT_READY.
void UnplugDrive(char letter);
// Every file operation on the drive takes `delay` of real time more, as on a slow player.
void SetDriveDelay(char letter, std::chrono::milliseconds delay);
// The free-space figure GetDiskFreeSpaceExA reports for every out-value, or none: the query fails.
void SetFreeSpace(char letter, std::optional<std::uint64_t> freeBytes);

enum class FullDisk {
    FailsWrite, // a write that does not fit writes nothing and fails with ERROR_DISK_FULL
    ShortWrite, // a write that does not fit writes what fits and reports success with that count
};
// After `bytes` more bytes written to files on the drive, the disk is full in the given way.
void SetWriteBudget(char letter, std::uint64_t bytes, FullDisk behaviour);
// After `bytes` more bytes written to files on the drive, the drive is unplugged: the write that
// crosses the mark stores what fits and fails with ERROR_NOT_READY.
void UnplugAfterBytes(char letter, std::uint64_t bytes);

// From now on every write to a file on the drive reports success but stores its first byte
// inverted, as a failing medium or cable can; false ends the fault.
void CorruptWrites(char letter, bool corrupt);

// The drive's medium is write-protected (true) or writable again: opening for writing, deleting
// and renaming fail on it with ERROR_WRITE_PROTECT.
void SetReadOnly(char letter, bool readOnly);

// The file exists but every open fails with ERROR_SHARING_VIOLATION, as if another program held it;
// renaming onto it fails with ERROR_ACCESS_DENIED.
void LockFile(const std::string& path);
// The other program lets go of the file.
void UnlockFile(const std::string& path);

// Whether File::Flush syncs the host file (the default, which the benchmarks measure). Later readers
// see what was written either way, so a test of many whole runs may turn it off.
void SetFlushesSync(bool sync);

// The host path that `path` names, or none when it is on a letter that is not mapped (or unplugged).
std::optional<std::filesystem::path> ResolvePath(const std::string& path);

} // namespace platform::sim
