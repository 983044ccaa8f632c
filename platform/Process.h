#pragma once
// The process: its command line, threads and sleeping.
#include <string>

namespace platform {

// The process's whole command line, program name included, in the ANSI code page.
std::string GetCommandLineA();

// Starts proc(argument) on a new thread that is never joined; false when it cannot be started.
bool BeginThread(void (*proc)(void*), void* argument);

// Suspends the calling thread; the simulated machine advances its clock instead.
void Sleep(unsigned milliseconds);

} // namespace platform
