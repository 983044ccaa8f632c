#include "platform/File.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"
#include "tests/common/SystemValues.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

struct FindTag {}; // only names a search: the simulation keeps nothing per search, nor wildcards

namespace {

struct SimOpenFile {
    int descriptor;
    char drive;           // 0 for a host path
    std::uint64_t medium; // the mapping of the drive it was opened on
    std::filesystem::path hostPath;
    bool writer;
    std::uint32_t sectorBytes = 0; // opened unbuffered: every read in steps of this; else 0
};

sim::OpenCounts& HoldersOf(sim::MachineState& machine, const std::filesystem::path& hostPath) {
    return machine.openFiles[hostPath.lexically_normal()];
}

long ErrorFromErrno(int error) {
    return error == ENOENT         ? ERROR_FILE_NOT_FOUND
           : error == ENOTDIR      ? ERROR_PATH_NOT_FOUND
           : error == ENOSPC       ? ERROR_DISK_FULL
           : error == ENAMETOOLONG ? ERROR_FILENAME_EXCED_RANGE
                                   : ERROR_ACCESS_DENIED;
}

[[noreturn]] void Throw(const std::string& path, long code) {
    sim::SetLastError(code);
    throw FileError(path, code);
}

// Throws the platform's code for errno unless the host call succeeded.
void Require(bool succeeded, const std::string& path) {
    if (!succeeded) {
        Throw(path, ErrorFromErrno(errno));
    }
}

// True when `code` is 0; else false with `code` as the last error.
bool Succeeds(long code) {
    if (code != 0) {
        sim::SetLastError(code);
    }
    return code == 0;
}

// The descriptor behind `handle` for a call of `kind`; throws when there is none, when its medium
// has gone (unplugged, unmapped or mapped again) or when a hook fails the call.
int Usable(void* handle, const std::string& path, sim::CallKind kind) {
    if (handle == nullptr) {
        Throw(path, ERROR_INVALID_HANDLE);
    }
    if (const long error = sim::BeforeCall({kind, path})) {
        Throw(path, error);
    }
    const auto& file = *static_cast<SimOpenFile*>(handle);
    const bool mediumThere = file.drive == 0 || sim::Locked([&file](sim::MachineState& machine) {
                                 const sim::SimDrive* drive = sim::PresentDrive(machine, file.drive);
                                 return drive != nullptr && drive->medium == file.medium;
                             });
    if (!mediumThere) {
        Throw(path, ERROR_NOT_READY);
    }
    return file.descriptor;
}

// Opens the host file `path` names into `opened`: 0, or the platform's code for the failure.
long OpenHostFile(const std::string& path, bool writing, bool unbuffered, SimOpenFile& opened) {
    if (path.find_first_of("\"*?<>|") != std::string::npos) {
        return ERROR_INVALID_NAME; // characters no Windows name holds
    }
    const auto hostPath =
        sim::Locked([&path](sim::MachineState& machine) { return sim::ResolvePath(machine, path); });
    std::error_code ignored;
    if (!hostPath || !std::filesystem::is_directory(hostPath->parent_path(), ignored)) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (std::filesystem::is_directory(*hostPath, ignored)) {
        return ERROR_ACCESS_DENIED; // a folder is no file to the platform
    }
    const int descriptor =
        ::open(hostPath->c_str(), (writing ? O_WRONLY | O_CREAT : O_RDONLY) | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return ErrorFromErrno(errno);
    }
    const char drive = sim::DriveLetterOf(path);
    const long error = sim::Locked([&](sim::MachineState& machine) -> long {
        sim::OpenCounts& counts = HoldersOf(machine, *hostPath);
        if (counts.writers > 0 || (writing && counts.readers > 0)) {
            return ERROR_SHARING_VIOLATION;
        }
        // Truncated only once the open is granted, so a refused writer leaves the holder's file whole.
        if (writing && ::ftruncate(descriptor, 0) != 0) {
            return ErrorFromErrno(errno);
        }
        ++(writing ? counts.writers : counts.readers);
        const sim::SimDrive* onDrive = drive == 0 ? nullptr : &machine.drives[drive];
        opened = {descriptor, drive, onDrive == nullptr ? 0 : onDrive->medium, *hostPath, writing};
        if (unbuffered) {
            opened.sectorBytes = onDrive == nullptr ? sim::kDefaultSectorBytes : onDrive->sectorBytes;
        }
        return 0;
    });
    if (error != 0) {
        ::close(descriptor);
    }
    return error;
}

// How many of `count` bytes a write to a file on drive `letter` stores, the error it then fails with
// (0: it succeeds with that many), and which of them it stores inverted (none when past them).
struct WritePermit {
    std::uint32_t bytes = 0;
    long error = 0;
    std::uint32_t inverted = UINT32_MAX;
};

WritePermit PermitWrite(char letter, std::uint32_t count) {
    if (letter == 0) {
        return {count};
    }
    return sim::Locked([&](sim::MachineState& machine) -> WritePermit {
        sim::SimDrive* drive = sim::PresentDrive(machine, letter);
        if (drive == nullptr) {
            return {0, ERROR_NOT_READY};
        }
        if (!drive->writeFault || count <= drive->writesBeforeFault) {
            drive->writesBeforeFault -= drive->writeFault ? count : 0;
            return {count};
        }
        const auto fits = static_cast<std::uint32_t>(std::exchange(drive->writesBeforeFault, 0));
        switch (*drive->writeFault) {
        case sim::WriteFault::FailsWrite:
            return {0, ERROR_DISK_FULL};
        case sim::WriteFault::ShortWrite:
            return {fits};
        case sim::WriteFault::Unplugs:
            drive->present = false;
            return {fits, ERROR_NOT_READY};
        case sim::WriteFault::Corrupts:
            return {count, 0, fits};
        }
        return {count};
    });
}

// The host path of `path` for a rename or delete, or the error that stops it: none while a writer
// holds it, and none while anyone holds it when `anyHolder`.
std::optional<std::filesystem::path> Unheld(sim::MachineState& machine, const std::string& path,
                                            bool anyHolder, long holderError, long& error) {
    auto hostPath = sim::ResolvePath(machine, path);
    const sim::OpenCounts holders = hostPath ? HoldersOf(machine, *hostPath) : sim::OpenCounts{};
    if (error == 0 && !hostPath) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (error == 0 && (holders.writers > 0 || (anyHolder && holders.readers > 0))) {
        error = holderError;
    }
    return hostPath;
}

// The ANSI calls take a path only as long as their buffer of MAX_PATH characters; the program's
// open takes any length, as it does on Windows through the wide call.
long AnsiPathError(const char* path) {
    return std::char_traits<char>::length(path) >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : 0;
}

} // namespace

bool File::Open(const std::string& path, Mode mode, long* error) {
    Close();
    const bool writing = mode == Mode::CreateWrite;
    const bool unbuffered = mode == Mode::ReadUnbuffered;
    SimOpenFile opened{};
    long code = sim::BeforeCall(
        {.kind = sim::CallKind::Open, .path = path, .writes = writing, .unbuffered = unbuffered});
    code = code != 0 ? code : OpenHostFile(path, writing, unbuffered, opened);
    if (code != 0 && error != nullptr) {
        *error = code;
    }
    if (!Succeeds(code)) {
        return false;
    }
    handle_ = new SimOpenFile(std::move(opened));
    path_ = path;
    return true;
}

std::uint64_t File::GetLength() const {
    struct stat status {};
    Require(::fstat(Usable(handle_, path_, sim::CallKind::GetLength), &status) == 0, path_);
    return static_cast<std::uint64_t>(status.st_size);
}

std::uint32_t File::Read(void* buffer, std::uint32_t count) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::Read);
    if (const std::uint32_t sector = static_cast<SimOpenFile*>(handle_)->sectorBytes) {
        const off_t at = ::lseek(descriptor, 0, SEEK_CUR);
        if (at % sector != 0 || count % sector != 0 ||
            reinterpret_cast<std::uintptr_t>(buffer) % sector != 0) {
            Throw(path_, ERROR_INVALID_PARAMETER);
        }
        // Past the cache: the bytes come from the host's medium, at its pace.
        ::posix_fadvise(descriptor, at, count, POSIX_FADV_DONTNEED);
    }
    // A host file gives all that was asked for, unless it ends first.
    const ssize_t got = ::read(descriptor, buffer, count);
    Require(got >= 0, path_);
    return static_cast<std::uint32_t>(got);
}

void File::Write(const void* buffer, std::uint32_t count) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::Write);
    const WritePermit permit = PermitWrite(static_cast<SimOpenFile*>(handle_)->drive, count);
    std::string stored(static_cast<const char*>(buffer), permit.bytes);
    if (permit.inverted < stored.size()) {
        stored[permit.inverted] = static_cast<char>(~stored[permit.inverted]);
    }
    const ssize_t put = ::write(descriptor, stored.data(), stored.size());
    Require(put >= 0, path_);
    if (permit.error != 0) {
        Throw(path_, permit.error);
    }
    if (static_cast<std::uint32_t>(put) < count) {
        Throw(path_, ERROR_DISK_FULL); // a full disk can answer a large write with a short count
    }
}

void File::SetLength(std::uint64_t length) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::SetLength);
    Require(::ftruncate(descriptor, static_cast<off_t>(length)) == 0 &&
                ::lseek(descriptor, static_cast<off_t>(length), SEEK_SET) >= 0,
            path_);
}

void File::SeekToBegin() {
    Require(::lseek(Usable(handle_, path_, sim::CallKind::Seek), 0, SEEK_SET) == 0, path_);
}

void File::Flush() {
    Require(::fsync(Usable(handle_, path_, sim::CallKind::Flush)) == 0, path_);
}

void File::Close() {
    if (auto* file = static_cast<SimOpenFile*>(std::exchange(handle_, nullptr))) {
        ::close(file->descriptor);
        sim::Locked([file](sim::MachineState& machine) {
            sim::OpenCounts& counts = HoldersOf(machine, file->hostPath);
            --(file->writer ? counts.writers : counts.readers);
        });
        delete file;
    }
}

bool MoveFileExA(const char* existing, const char* newName, unsigned flags) {
    long error = sim::BeforeCall({sim::CallKind::Move, existing, false, newName});
    const auto [from, to] = sim::Locked([&](sim::MachineState& machine) {
        // Onto a file another handle holds: denied, as Windows does.
        return std::pair(Unheld(machine, existing, false, ERROR_SHARING_VIOLATION, error),
                         Unheld(machine, newName, true, ERROR_ACCESS_DENIED, error));
    });
    std::error_code ignored;
    if (error == 0 && (flags & MOVEFILE_REPLACE_EXISTING) == 0 && std::filesystem::exists(*to, ignored)) {
        error = ERROR_ALREADY_EXISTS;
    }
    if (error == 0 && ::rename(from->c_str(), to->c_str()) != 0) {
        error = ErrorFromErrno(errno);
    }
    return Succeeds(error);
}

bool DeleteFileA(const char* path) {
    long error = AnsiPathError(path);
    error = error != 0 ? error : sim::BeforeCall({sim::CallKind::Delete, path});
    const auto hostPath = sim::Locked([&](sim::MachineState& machine) {
        return Unheld(machine, path, false, ERROR_SHARING_VIOLATION, error);
    });
    if (error == 0 && ::unlink(hostPath->c_str()) != 0) {
        error = errno == EISDIR ? ERROR_ACCESS_DENIED : ErrorFromErrno(errno);
    }
    return Succeeds(error);
}

FindHandle FindFirstFileA(const char* fileName) {
    long error = AnsiPathError(fileName);
    error = error != 0 ? error : sim::BeforeCall({sim::CallKind::Find, fileName});
    const auto hostPath =
        sim::Locked([&](sim::MachineState& machine) { return sim::ResolvePath(machine, fileName); });
    std::error_code ignored;
    if (error == 0 && !hostPath) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (error == 0 && !std::filesystem::exists(*hostPath, ignored)) {
        error = ERROR_FILE_NOT_FOUND;
    }
    return Succeeds(error) ? new FindTag : nullptr;
}

bool FindClose(FindHandle search) {
    delete search;
    return search != nullptr;
}

} // namespace platform
