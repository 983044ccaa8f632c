#include <windows.h>

#include "platform/Process.h"

#include <process.h>

namespace platform {

std::string GetCommandLineA() {
    return ::GetCommandLineA();
}

bool BeginThread(void (*proc)(void*), void* argument) {
    // _beginthread (not CreateThread) so the C run-time is set up for the new thread.
    return ::_beginthread(proc, 0, argument) != static_cast<std::uintptr_t>(-1);
}

void Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

bool SetDefaultDllDirectories(unsigned directoryFlags) {
    // Looked up, not imported: without KB2533623 Windows 7 lacks it, and the program must still start.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    return setDirectories(directoryFlags) != FALSE;
}

bool SetDllDirectoryA(const char* path) {
    return ::SetDllDirectoryA(path) != FALSE;
}

bool LoadLibraryExA(const char* fileName, unsigned flags) {
    return ::LoadLibraryExA(fileName, nullptr, flags) != nullptr;
}

unsigned SetErrorMode(unsigned mode) {
    return ::SetErrorMode(mode);
}

bool CreateMutexA(const char* name) {
    const HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name);
    if (mutex != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex); // the other process's, not ours to keep alive
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    return mutex != nullptr; // never closed: the system closes it when the process ends
}

} // namespace platform
