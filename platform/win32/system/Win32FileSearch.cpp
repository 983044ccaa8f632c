#include <windows.h>

#include "platform/FileSearch.h"

namespace platform {

FindHandle FindFirstFileA(const char* fileName) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(fileName, &found);
    return search == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FindHandle>(search);
}

bool FindClose(FindHandle search) {
    return ::FindClose(reinterpret_cast<HANDLE>(search)) != FALSE;
}

} // namespace platform
