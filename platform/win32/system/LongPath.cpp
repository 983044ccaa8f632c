#include <windows.h>

#include "platform/win32/system/LongPath.h"

namespace platform {

namespace {

std::wstring Widened(const std::string& ansi) {
    const int units = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(),
                                            static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (units == 0 || ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(),
                                            static_cast<int>(ansi.size()), wide.data(), units) != units) {
        return {};
    }
    return wide;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = needed == 0 ? 0 : ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        if (length != 0) {
            ::SetLastError(ERROR_FILENAME_EXCED_RANGE); // the current folder changed in between
        }
        return {};
    }
    full.resize(length);
    return full;
}

} // namespace

std::wstring ExtendedLengthPath(const std::string& ansiPath) {
    const std::wstring wide = Widened(ansiPath);
    if (wide.empty() || wide.starts_with(L"\\\\?\\")) {
        return wide; // already in that form, which turns off every rewriting of the path
    }
    // Made full first: in the `\\?\` form, `.`, `..` and `/` would be names.
    const std::wstring full = FullPath(wide);
    if (full.empty()) {
        return {};
    }
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

} // namespace platform
