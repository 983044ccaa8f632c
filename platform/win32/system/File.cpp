#include <windows.h>

#include "platform/File.h"
#include "platform/win32/system/LongPath.h"

namespace platform {

namespace {

[[noreturn]] void ThrowLastError(const std::string& path) {
    throw FileError(path, static_cast<long>(::GetLastError()));
}

HANDLE Usable(void* handle, const std::string& path) {
    if (handle == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        ThrowLastError(path);
    }
    return static_cast<HANDLE>(handle);
}

// The ANSI call refuses a path it cannot take, of MAX_PATH characters or more (also once made
// full), with ERROR_FILENAME_EXCED_RANGE; the wide one takes such a path in its `\\?\` form.
HANDLE CreateFileAnyLength(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                           DWORD flags) {
    const HANDLE handle = ::CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILENAME_EXCED_RANGE) {
        return handle;
    }
    const std::wstring extended = ExtendedLengthPath(path);
    return extended.empty()
               ? INVALID_HANDLE_VALUE
               : ::CreateFileW(extended.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

} // namespace

bool File::Open(const std::string& path, Mode mode, long* error) {
    Close();
    const bool reading = mode != Mode::CreateWrite;
    const HANDLE handle =
        CreateFileAnyLength(path, reading ? GENERIC_READ : GENERIC_WRITE,
                            reading ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0,
                            reading ? OPEN_EXISTING : CREATE_ALWAYS,
                            mode == Mode::ReadUnbuffered ? FILE_FLAG_NO_BUFFERING : FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error != nullptr) {
            *error = static_cast<long>(::GetLastError());
        }
        return false;
    }
    handle_ = handle;
    path_ = path;
    return true;
}

std::uint64_t File::GetLength() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Usable(handle_, path_), &size)) {
        ThrowLastError(path_);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint32_t File::Read(void* buffer, std::uint32_t count) {
    DWORD read = 0;
    if (!::ReadFile(Usable(handle_, path_), buffer, count, &read, nullptr)) {
        ThrowLastError(path_);
    }
    return read;
}

void File::Write(const void* buffer, std::uint32_t count) {
    DWORD written = 0;
    if (!::WriteFile(Usable(handle_, path_), buffer, count, &written, nullptr)) {
        ThrowLastError(path_);
    }
    if (written != count) {
        // A full disk can answer one large write with success and a short count.
        throw FileError(path_, ERROR_DISK_FULL);
    }
}

void File::SetLength(std::uint64_t length) {
    const HANDLE handle = Usable(handle_, path_);
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    if (!::SetFilePointerEx(handle, position, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle)) {
        ThrowLastError(path_);
    }
}

void File::SeekToBegin() {
    if (!::SetFilePointerEx(Usable(handle_, path_), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) {
        ThrowLastError(path_);
    }
}

void File::Flush() {
    if (!::FlushFileBuffers(Usable(handle_, path_))) {
        ThrowLastError(path_);
    }
}

void File::Close() {
    if (handle_ != nullptr) {
        ::CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

bool MoveFileExA(const char* existing, const char* newName, unsigned flags) {
    return ::MoveFileExA(existing, newName, flags) != FALSE;
}

bool DeleteFileA(const char* path) {
    return ::DeleteFileA(path) != FALSE;
}

FindHandle FindFirstFileA(const char* fileName) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(fileName, &found);
    return search == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FindHandle>(search);
}

bool FindClose(FindHandle search) {
    return ::FindClose(reinterpret_cast<HANDLE>(search)) != FALSE;
}

} // namespace platform
