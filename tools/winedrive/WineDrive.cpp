#include "WineDrive.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// Wine's own mount manager request (Wine 8 layout); the SDK does not declare it.
struct UnixDriveRequest {
    ULONG size; // whole request, path included
    ULONG type; // DRIVE_* value; DRIVE_NO_ROOT_DIR removes the letter
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;            // lower case
    USHORT mountPointOffset; // NUL-terminated Unix path, from the start of the request
    USHORT deviceOffset;
    USHORT labelOffset;
};
static_assert(sizeof(UnixDriveRequest) == 32, "must match Wine's mountmgr_unix_drive");

constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// C: holds the prefix and Z: the Unix root Wine runs programs from; changing them breaks the prefix.
bool ToWineLetter(char letter, WCHAR& out) {
    if (letter >= 'A' && letter <= 'Z')
        letter = static_cast<char>(letter - 'A' + 'a');
    if (letter < 'a' || letter > 'z' || letter == 'c' || letter == 'z')
        return false;
    out = static_cast<WCHAR>(letter);
    return true;
}

bool SendRequest(WCHAR letter, ULONG type, const std::string& unixPath) {
    const std::size_t pathBytes = unixPath.empty() ? 0 : unixPath.size() + 1;
    std::vector<BYTE> buffer(sizeof(UnixDriveRequest) + pathBytes, 0);
    if (buffer.size() > 0xFFFF) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    UnixDriveRequest request{};
    request.size = static_cast<ULONG>(buffer.size());
    request.type = type;
    request.letter = letter;
    if (pathBytes != 0) {
        request.mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(buffer.data() + sizeof request, unixPath.c_str(), pathBytes);
    }
    std::memcpy(buffer.data(), &request, sizeof request);

    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), request.size, nullptr, 0,
                                    &returned, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(manager);
    SetLastError(error);
    return ok != FALSE;
}

} // namespace

bool DefineWineDrive(char letter, const std::string& unixPath, unsigned driveType) {
    WCHAR wineLetter = 0;
    if (!ToWineLetter(letter, wineLetter) || unixPath.empty() || unixPath.front() != '/' ||
        unixPath.find('\0') != std::string::npos ||
        (driveType != DRIVE_REMOVABLE && driveType != DRIVE_FIXED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return SendRequest(wineLetter, driveType, unixPath);
}

bool RemoveWineDrive(char letter) {
    WCHAR wineLetter = 0;
    if (!ToWineLetter(letter, wineLetter)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return SendRequest(wineLetter, DRIVE_NO_ROOT_DIR, std::string());
}

std::string WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
