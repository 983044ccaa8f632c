#include "platform/File.h"
#include "platform/FileSearch.h"
#include "sim/system/SimCalls.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// Only names a search, as the simulation keeps nothing per search. Wildcards are not supported.
struct FindTag {};

namespace {

constexpr long kErrorAlreadyExists = 183;

struct SimOpenFile {
    int descriptor;
    char drive;           // 0 for a host path
    std::uint64_t medium; // the mapping of the drive it was opened on
    std::filesystem::path hostPath;
    bool writer;
};

sim::OpenCounts& HoldersOf(sim::MachineState& machine, const std::filesystem::path& hostPath) {
    return machine.openFiles[hostPath.lexically_normal()];
}

// The platform's code for a failed host call's errno.
long ErrorFromErrno(int error) {
    static const std::map<int, long> codes = {
        {ENOENT, ERROR_FILE_NOT_FOUND}, {ENOTDIR, ERROR_PATH_NOT_FOUND}, {ENOSPC, ERROR_DISK_FULL}};
    const auto found = codes.find(error);
    return found == codes.end() ? ERROR_ACCESS_DENIED : found->second;
}

// Sets the last error and throws it for `path`.
[[noreturn]] void Throw(const std::string& path, long code) {
    sim::SetLastError(code);
    throw FileError(path, code);
}

// Sets the last error and answers false.
bool Fail(long code) {
    sim::SetLastError(code);
    return false;
}

// The open file behind `handle` for a call of `kind`, throwing when there is none, its medium has
// gone (unplugged, unmapped or mapped again) or a hook fails the call.
SimOpenFile& Usable(void* handle, const std::string& path, sim::CallKind kind) {
    if (handle == nullptr) {
        Throw(path, ERROR_INVALID_HANDLE);
    }
    if (const long error = sim::BeforeCall({kind, path})) {
        Throw(path, error);
    }
    auto& file = *static_cast<SimOpenFile*>(handle);
    const auto mediumThere = [&file](sim::MachineState& machine) {
        const sim::SimDrive* drive = sim::PresentDrive(machine, file.drive);
        return drive != nullptr && drive->medium == file.medium;
    };
    if (file.drive != 0 && !sim::Locked(mediumThere)) {
        Throw(path, ERROR_NOT_READY);
    }
    return file;
}

// Opens the host file `path` names into `opened`: 0, or the platform's code for the failure.
long OpenHostFile(const std::string& path, bool writing, SimOpenFile& opened) {
    sim::MachineState& machine = sim::Machine();
    std::unique_lock hold(machine.lock);
    const auto hostPath = sim::ResolvePath(machine, path);
    if (!hostPath) {
        return ERROR_PATH_NOT_FOUND;
    }
    const char drive = sim::DriveLetterOf(path);
    const std::uint64_t medium = drive == 0 ? 0 : machine.drives[drive].medium;
    const sim::OpenCounts& holders = HoldersOf(machine, *hostPath);
    if (holders.writers > 0 || (writing && holders.readers > 0)) {
        return ERROR_SHARING_VIOLATION;
    }
    hold.unlock();
    const int flags = writing ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY;
    const int descriptor = ::open(hostPath->c_str(), flags | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        std::error_code ignored;
        const bool noFolder =
            errno == ENOENT && !std::filesystem::is_directory(hostPath->parent_path(), ignored);
        return noFolder ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor); // a folder is no file to the platform
        return ERROR_ACCESS_DENIED;
    }
    hold.lock();
    sim::OpenCounts& counts = HoldersOf(machine, *hostPath);
    ++(writing ? counts.writers : counts.readers);
    opened = {descriptor, drive, medium, *hostPath, writing};
    return 0;
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
        const auto fits = static_cast<std::uint32_t>(drive->writesBeforeFault);
        switch (*drive->writeFault) {
        case sim::WriteFault::FailsWrite:
            return {0, ERROR_DISK_FULL};
        case sim::WriteFault::ShortWrite:
            drive->writesBeforeFault = 0;
            return {fits};
        case sim::WriteFault::Unplugs:
            drive->writesBeforeFault = 0;
            drive->present = false;
            return {fits, ERROR_NOT_READY};
        case sim::WriteFault::Corrupts:
            drive->writesBeforeFault = 0;
            return {count, 0, fits};
        }
        return {count};
    });
}

} // namespace

bool File::Open(const std::string& path, Mode mode, long* error) {
    Close();
    const bool writing = mode == Mode::CreateWrite;
    SimOpenFile opened{};
    long code = sim::BeforeCall({sim::CallKind::Open, path, writing});
    code = code != 0 ? code : OpenHostFile(path, writing, opened);
    if (code != 0) {
        sim::SetLastError(code);
        if (error != nullptr) {
            *error = code;
        }
        return false;
    }
    handle_ = new SimOpenFile(std::move(opened));
    path_ = path;
    return true;
}

std::uint64_t File::GetLength() const {
    struct stat status {};
    if (::fstat(Usable(handle_, path_, sim::CallKind::GetLength).descriptor, &status) != 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::uint32_t File::Read(void* buffer, std::uint32_t count) {
    // A host file gives all that was asked for, unless it ends first.
    const ssize_t got = ::read(Usable(handle_, path_, sim::CallKind::Read).descriptor, buffer, count);
    if (got < 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
    return static_cast<std::uint32_t>(got);
}

void File::Write(const void* buffer, std::uint32_t count) {
    const SimOpenFile& file = Usable(handle_, path_, sim::CallKind::Write);
    const WritePermit permit = PermitWrite(file.drive, count);
    std::string stored(static_cast<const char*>(buffer), permit.bytes);
    if (permit.inverted < stored.size()) {
        stored[permit.inverted] = static_cast<char>(~stored[permit.inverted]);
    }
    const ssize_t put = ::write(file.descriptor, stored.data(), stored.size());
    if (put < 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
    if (permit.error != 0) {
        Throw(path_, permit.error);
    }
    if (static_cast<std::uint32_t>(put) < count) {
        // A full disk can answer one large write with success and a short count.
        Throw(path_, ERROR_DISK_FULL);
    }
}

void File::SetLength(std::uint64_t length) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::SetLength).descriptor;
    if (::ftruncate(descriptor, static_cast<off_t>(length)) != 0 ||
        ::lseek(descriptor, static_cast<off_t>(length), SEEK_SET) < 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
}

void File::SeekToBegin() {
    if (::lseek(Usable(handle_, path_, sim::CallKind::Seek).descriptor, 0, SEEK_SET) != 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
}

void File::Flush() {
    const int descriptor = Usable(handle_, path_, sim::CallKind::Flush).descriptor;
    const bool sync = sim::Locked([](sim::MachineState& machine) { return machine.flushesSync; });
    if (sync && ::fsync(descriptor) != 0) {
        Throw(path_, ErrorFromErrno(errno));
    }
}

void File::Close() {
    if (handle_ != nullptr) {
        auto* file = static_cast<SimOpenFile*>(handle_);
        ::close(file->descriptor);
        sim::Locked([file](sim::MachineState& machine) {
            sim::OpenCounts& counts = HoldersOf(machine, file->hostPath);
            --(file->writer ? counts.writers : counts.readers);
        });
        delete file;
        handle_ = nullptr;
    }
}

bool MoveFileExA(const char* existing, const char* newName, unsigned flags) {
    if (const long error = sim::BeforeCall({sim::CallKind::Move, existing, false, newName})) {
        return Fail(error);
    }
    long error = 0;
    const auto [from, to] = sim::Locked([&](sim::MachineState& machine) {
        const auto from = sim::ResolvePath(machine, existing);
        const auto to = sim::ResolvePath(machine, newName);
        if (!from || !to) {
            error = ERROR_PATH_NOT_FOUND;
        } else if (HoldersOf(machine, *from).writers > 0) {
            error = ERROR_SHARING_VIOLATION;
        } else if (HoldersOf(machine, *to).writers + HoldersOf(machine, *to).readers > 0) {
            error = ERROR_ACCESS_DENIED; // as while another program holds the target open
        }
        return std::pair(from, to);
    });
    std::error_code ignored;
    if (error == 0 && (flags & MOVEFILE_REPLACE_EXISTING) == 0 && std::filesystem::exists(*to, ignored)) {
        error = kErrorAlreadyExists;
    }
    if (error == 0 && ::rename(from->c_str(), to->c_str()) != 0) {
        error = ErrorFromErrno(errno);
    }
    return error == 0 || Fail(error);
}

bool DeleteFileA(const char* path) {
    if (const long error = sim::BeforeCall({sim::CallKind::Delete, path})) {
        return Fail(error);
    }
    long error = 0;
    const auto hostPath = sim::Locked([&](sim::MachineState& machine) {
        const auto hostPath = sim::ResolvePath(machine, path);
        if (!hostPath) {
            error = ERROR_PATH_NOT_FOUND;
        } else if (HoldersOf(machine, *hostPath).writers > 0) {
            error = ERROR_SHARING_VIOLATION;
        }
        return hostPath;
    });
    if (error == 0 && ::unlink(hostPath->c_str()) != 0) {
        error = errno == EISDIR ? ERROR_ACCESS_DENIED : ErrorFromErrno(errno);
    }
    return error == 0 || Fail(error);
}

FindHandle FindFirstFileA(const char* fileName) {
    long error = sim::BeforeCall({sim::CallKind::Find, fileName});
    const auto hostPath =
        sim::Locked([&](sim::MachineState& machine) { return sim::ResolvePath(machine, fileName); });
    std::error_code ignored;
    if (error == 0 && !hostPath) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (error == 0 && !std::filesystem::exists(*hostPath, ignored)) {
        error = ERROR_FILE_NOT_FOUND;
    }
    if (error != 0) {
        sim::SetLastError(error);
        return nullptr;
    }
    return new FindTag;
}

bool FindClose(FindHandle search) {
    delete search;
    return search != nullptr;
}

} // namespace platform
