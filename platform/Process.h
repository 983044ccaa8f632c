#pragma once
// The process: its command line, threads, sleeping and where it loads DLLs from.
#include "platform/SystemValue.h"

#include <string>

PLATFORM_VALUE(unsigned, LOAD_LIBRARY_SEARCH_SYSTEM32, 0x00000800)
PLATFORM_VALUE(unsigned, SEM_FAILCRITICALERRORS, 0x0001)

namespace platform {

// The process's whole command line, program name included, in the ANSI code page.
std::string GetCommandLineA();

// Starts proc(argument) on a new thread that is never joined; false when it cannot be started.
bool BeginThread(void (*proc)(void*), void* argument);

// Suspends the calling thread; the simulated machine advances its clock instead.
void Sleep(unsigned milliseconds);

// The rest is called only by the program's entry, so the simulated machine has none of it.

// Where every later load of a DLL named without a path searches (LOAD_LIBRARY_SEARCH_* flags), also
// for the DLLs that DLL imports. False when the system lacks the call (Windows 7 without KB2533623).
bool SetDefaultDllDirectories(unsigned directoryFlags);
// "" takes the current directory out of the search; false on failure.
bool SetDllDirectoryA(const char* path);
// Loads `fileName` for the rest of the process, searching as `flags` (LOAD_LIBRARY_SEARCH_*) say;
// false on failure.
bool LoadLibraryExA(const char* fileName, unsigned flags);

// The process's error mode (SEM_* flags); returns the previous one.
unsigned SetErrorMode(unsigned mode);

// Creates the mutex `name`, held open until the process ends, however it ends. False when it could
// not: GetLastError gives ERROR_ALREADY_EXISTS when another process holds it, and ERROR_ACCESS_DENIED
// when one of another user does.
bool CreateMutexA(const char* name);

} // namespace platform
