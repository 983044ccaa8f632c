#pragma once
// The process: its command line, threads, sleeping and where it loads DLLs from.
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
inline constexpr unsigned LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif

namespace platform {

// The process's whole command line, program name included, in the ANSI code page.
std::string GetCommandLineA();

// Starts proc(argument) on a new thread that is never joined; false when it cannot be started.
bool BeginThread(void (*proc)(void*), void* argument);

// Suspends the calling thread; the simulated machine advances its clock instead.
void Sleep(unsigned milliseconds);

// Where every later load of a DLL named without a path searches (LOAD_LIBRARY_SEARCH_* flags), also
// for the DLLs that DLL imports. False when the system lacks the call (Windows 7 without KB2533623).
// Only the program's entry calls these two; the simulated machine loads no DLLs.
bool SetDefaultDllDirectories(unsigned directoryFlags);
// "" takes the current directory out of the search; false on failure.
bool SetDllDirectoryA(const char* path);

} // namespace platform
