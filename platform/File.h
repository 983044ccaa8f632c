#pragma once
// Files by path: the player's files, the firmware image and the file written onto the player, and
// the search for files by name.
#include "platform/SystemValue.h"

#include <cstdint>
#include <stdexcept>
#include <string>

PLATFORM_VALUE(unsigned, MOVEFILE_REPLACE_EXISTING, 0x00000001)
PLATFORM_VALUE(unsigned, MOVEFILE_WRITE_THROUGH, 0x00000008)

namespace platform {

// A failed file operation: the path it was on and the system error code.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, long code);
    const std::string& Path() const { return path_; }
    long Code() const { return code_; }

private:
    std::string path_;
    long code_;
};

// One open file, closed by Close or by the destructor. Every operation on a closed file, and every
// failure of the system, throws FileError, except the non-throwing Open.
class File {
public:
    enum class Mode {
        ReadShared,     // read only, any other reader or writer allowed
        ReadUnbuffered, // as ReadShared, but from the medium, past the system's cache (see Read)
        CreateWrite,    // write only, binary; created, or truncated when it exists
    };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // False (and the system error code in *error when given) when the file cannot be opened.
    bool Open(const std::string& path, Mode mode, long* error = nullptr);
    // Throws FileError with the path and the system error code when the file cannot be opened.
    void OpenOrThrow(const std::string& path, Mode mode);
    bool IsOpen() const { return handle_ != nullptr; }

    std::uint64_t GetLength() const;
    // Reads up to `count` bytes; returns the bytes read, fewer only at the end of the file. Opened
    // ReadUnbuffered, the position, `count` and `buffer` must be whole multiples of the volume's
    // sector size (GetDiskFreeSpaceA), else ERROR_INVALID_PARAMETER; a read may then ask past the end.
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Writes all `count` bytes; a failure or a short count (a full disk) throws.
    void Write(const void* buffer, std::uint32_t count);
    // The file's length becomes `length` and the position moves there.
    void SetLength(std::uint64_t length);
    void SeekToBegin();
    // Puts everything written so far on the medium (FlushFileBuffers).
    void Flush();
    // Idempotent; a close that fails is not reported.
    void Close();

private:
    void* handle_ = nullptr; // the platform's handle or the simulation's record
    std::string path_;
};

// Renames `existing` to `newName` with MOVEFILE_* flags; false on failure (GetLastError tells why).
bool MoveFileExA(const char* existing, const char* newName, unsigned flags);
// False on failure (GetLastError tells why).
bool DeleteFileA(const char* path);

// Searching for files by name.
struct FindTag;
using FindHandle = FindTag*;

// Starts a search for `fileName`: a handle the caller must close with FindClose, or null when
// nothing matches or the search fails (GetLastError tells why).
FindHandle FindFirstFileA(const char* fileName);
bool FindClose(FindHandle search);

} // namespace platform
