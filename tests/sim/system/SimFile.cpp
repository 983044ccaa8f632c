#include "platform/File.h"
#include "platform/LastError.h"
#include "sim/system/SimCalls.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace platform {
namespace {

constexpr long kErrorAlreadyExists = 183;

struct SimOpenFile {
    int descriptor;
    char drive;           // 0 for a host path
    std::uint64_t medium; // the mapping of the drive it was opened on
    std::filesystem::path hostPath;
    bool writer;
};

// Whether another handle on the file forbids a further open, rename or delete of it.
bool HeldByWriter(sim::MachineState& machine, const std::filesystem::path& hostPath) {
    return machine.openFiles[hostPath.lexically_normal()].writers > 0;
}
bool HeldAtAll(sim::MachineState& machine, const std::filesystem::path& hostPath) {
    const sim::OpenCounts& counts = machine.openFiles[hostPath.lexically_normal()];
    return counts.readers + counts.writers > 0;
}

// Sets the last error and throws it for `path`.
[[noreturn]] void Throw(const std::string& path, long code) {
    sim::SetLastError(code);
    throw FileError(path, code);
}

// The open file behind `handle` for a call of `kind`, throwing when there is none, its drive has
// gone or a hook fails the call.
SimOpenFile& Usable(void* handle, const std::string& path, sim::CallKind kind) {
    if (handle == nullptr) {
        Throw(path, ERROR_INVALID_HANDLE);
    }
    if (const long error = sim::BeforeCall(kind, path)) {
        Throw(path, error);
    }
    auto& file = *static_cast<SimOpenFile*>(handle);
    if (!sim::MediumStillThere(file.drive, file.medium)) {
        Throw(path, ERROR_NOT_READY);
    }
    return file;
}

// Opens the host file `path` names into `opened`; false with the platform's code in `error`.
bool OpenHostFile(const std::string& path, File::Mode mode, long& error, SimOpenFile& opened) {
    sim::MachineState& machine = sim::Machine();
    std::unique_lock hold(machine.lock);
    const auto hostPath = sim::ResolvePathLocked(machine, path);
    if (!hostPath) {
        error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    opened.drive = sim::DriveLetterOf(path);
    opened.medium = opened.drive == 0 ? 0 : machine.drives[opened.drive].medium;
    // A reader shares the file with everyone; a writer with no one.
    const bool writing = mode == File::Mode::CreateWrite;
    if (sim::IsLockedLocked(machine, *hostPath) ||
        (writing ? HeldAtAll(machine, *hostPath) : HeldByWriter(machine, *hostPath))) {
        error = ERROR_SHARING_VIOLATION;
        return false;
    }
    if (mode == File::Mode::CreateWrite && sim::IsReadOnlyLocked(machine, path)) {
        error = ERROR_WRITE_PROTECT;
        return false;
    }
    hold.unlock();
    const int flags = mode == File::Mode::ReadShared ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const int descriptor = ::open(hostPath->c_str(), flags | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        std::error_code ignored;
        const bool noFolder =
            errno == ENOENT && !std::filesystem::is_directory(hostPath->parent_path(), ignored);
        error = noFolder ? ERROR_PATH_NOT_FOUND : sim::ErrorFromErrno(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor); // a folder is no file to the platform
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    hold.lock();
    sim::OpenCounts& counts = machine.openFiles[hostPath->lexically_normal()];
    ++(writing ? counts.writers : counts.readers);
    std::tie(opened.descriptor, opened.hostPath, opened.writer) = std::tuple(descriptor, *hostPath, writing);
    return true;
}

} // namespace

bool File::Open(const std::string& path, Mode mode, long* error) {
    Close();
    long code = sim::BeforeCall(sim::CallKind::Open, path, mode == Mode::CreateWrite);
    SimOpenFile opened{};
    if (code != 0 || !OpenHostFile(path, mode, code, opened)) {
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
        Throw(path_, sim::ErrorFromErrno(errno));
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::uint32_t File::Read(void* buffer, std::uint32_t count) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::Read).descriptor;
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(descriptor, static_cast<char*>(buffer) + done, count - done);
        if (got < 0) {
            Throw(path_, sim::ErrorFromErrno(errno));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::uint32_t>(got);
    }
    return done;
}

void File::Write(const void* buffer, std::uint32_t count) {
    const SimOpenFile& file = Usable(handle_, path_, sim::CallKind::Write);
    const sim::WritePermit permit = sim::PermitWrite(file.drive, count);
    std::string stored(static_cast<const char*>(buffer), permit.bytes);
    if (permit.corrupt && !stored.empty()) {
        stored[0] = static_cast<char>(~stored[0]);
    }
    std::uint32_t done = 0;
    while (done < permit.bytes) {
        const ssize_t put = ::write(file.descriptor, stored.data() + done, permit.bytes - done);
        if (put < 0) {
            Throw(path_, sim::ErrorFromErrno(errno));
        }
        done += static_cast<std::uint32_t>(put);
    }
    if (permit.error != 0) {
        Throw(path_, permit.error);
    }
    if (done < count) {
        // A full disk can answer one large write with success and a short count.
        Throw(path_, ERROR_DISK_FULL);
    }
}

void File::SetLength(std::uint64_t length) {
    const int descriptor = Usable(handle_, path_, sim::CallKind::SetLength).descriptor;
    if (::ftruncate(descriptor, static_cast<off_t>(length)) != 0 ||
        ::lseek(descriptor, static_cast<off_t>(length), SEEK_SET) < 0) {
        Throw(path_, sim::ErrorFromErrno(errno));
    }
}

void File::SeekToBegin() {
    if (::lseek(Usable(handle_, path_, sim::CallKind::Seek).descriptor, 0, SEEK_SET) != 0) {
        Throw(path_, sim::ErrorFromErrno(errno));
    }
}

void File::Flush() {
    const int descriptor = Usable(handle_, path_, sim::CallKind::Flush).descriptor;
    if (sim::FlushesSync() && ::fsync(descriptor) != 0) {
        Throw(path_, sim::ErrorFromErrno(errno));
    }
}

void File::Close() {
    if (handle_ != nullptr) {
        auto* file = static_cast<SimOpenFile*>(handle_);
        ::close(file->descriptor);
        sim::MachineState& machine = sim::Machine();
        std::lock_guard hold(machine.lock);
        sim::OpenCounts& counts = machine.openFiles[file->hostPath.lexically_normal()];
        --(file->writer ? counts.writers : counts.readers);
        delete file;
        handle_ = nullptr;
    }
}

bool MoveFileExA(const char* existing, const char* newName, unsigned flags) {
    if (const long error = sim::BeforeCall(sim::CallKind::Move, existing)) {
        sim::SetLastError(error);
        return false;
    }
    sim::MachineState& machine = sim::Machine();
    std::unique_lock hold(machine.lock);
    const auto from = sim::ResolvePathLocked(machine, existing);
    const auto to = sim::ResolvePathLocked(machine, newName);
    long error = 0;
    if (!from || !to) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (sim::IsReadOnlyLocked(machine, existing) || sim::IsReadOnlyLocked(machine, newName)) {
        error = ERROR_WRITE_PROTECT;
    } else if (sim::IsLockedLocked(machine, *from) || HeldByWriter(machine, *from)) {
        error = ERROR_SHARING_VIOLATION;
    } else if (sim::IsLockedLocked(machine, *to) || HeldAtAll(machine, *to)) {
        error = ERROR_ACCESS_DENIED; // as while another program holds the target open
    }
    hold.unlock();
    std::error_code ignored;
    if (error == 0 && (flags & MOVEFILE_REPLACE_EXISTING) == 0 && std::filesystem::exists(*to, ignored)) {
        error = kErrorAlreadyExists;
    }
    if (error == 0 && ::rename(from->c_str(), to->c_str()) != 0) {
        error = sim::ErrorFromErrno(errno);
    }
    if (error != 0) {
        sim::SetLastError(error);
        return false;
    }
    return true;
}

bool DeleteFileA(const char* path) {
    if (const long error = sim::BeforeCall(sim::CallKind::Delete, path)) {
        sim::SetLastError(error);
        return false;
    }
    sim::MachineState& machine = sim::Machine();
    std::unique_lock hold(machine.lock);
    const auto hostPath = sim::ResolvePathLocked(machine, path);
    long error = 0;
    if (!hostPath) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (sim::IsLockedLocked(machine, *hostPath) || HeldByWriter(machine, *hostPath)) {
        error = ERROR_SHARING_VIOLATION;
    } else if (sim::IsReadOnlyLocked(machine, path)) {
        error = ERROR_WRITE_PROTECT;
    }
    hold.unlock();
    if (error == 0 && ::unlink(hostPath->c_str()) != 0) {
        error = errno == EISDIR ? ERROR_ACCESS_DENIED : sim::ErrorFromErrno(errno);
    }
    if (error != 0) {
        sim::SetLastError(error);
        return false;
    }
    return true;
}

} // namespace platform
