#include "platform/Process.h"

#include <windows.h>

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

} // namespace platform
