#pragma once
// Faults of the simulated machine made through its call hook: each lasts while its object lives.
#include "platform/Errors.h"
#include "sim/system/SimMachine.h"

#include <chrono>
#include <string>
#include <thread>

// Every call of `kind` on drive `drive` fails with `error`.
inline platform::sim::ScopedCallHook FailCalls(platform::sim::CallKind kind, char drive, long error) {
    return platform::sim::ScopedCallHook([=](const platform::sim::Call& call) {
        return call.kind == kind && call.drive == drive ? error : 0L;
    });
}

// The medium in `drive` is write-protected: opening for writing, deleting and renaming on it fail
// with ERROR_WRITE_PROTECT.
inline platform::sim::ScopedCallHook WriteProtected(char drive) {
    using platform::sim::CallKind;
    return platform::sim::ScopedCallHook([drive](const platform::sim::Call& call) {
        const bool changes = call.writes || call.kind == CallKind::Move || call.kind == CallKind::Delete;
        return call.drive == drive && changes ? ERROR_WRITE_PROTECT : 0L;
    });
}

// Another program holds the file `path` open: opening, deleting or renaming it fails with
// ERROR_SHARING_VIOLATION, and renaming onto it with ERROR_ACCESS_DENIED.
inline platform::sim::ScopedCallHook HeldByAnotherProgram(std::string path) {
    using platform::sim::CallKind;
    return platform::sim::ScopedCallHook([path](const platform::sim::Call& call) {
        if (call.kind == CallKind::Move && call.target == path) {
            return ERROR_ACCESS_DENIED;
        }
        const bool opens =
            call.kind == CallKind::Open || call.kind == CallKind::Move || call.kind == CallKind::Delete;
        return call.path == path && opens ? ERROR_SHARING_VIOLATION : 0L;
    });
}

// Every operation on a file open on `drive` takes `delay` of real time more, as on a slow player.
inline platform::sim::ScopedCallHook SlowPlayer(char drive, std::chrono::milliseconds delay) {
    using platform::sim::CallKind;
    return platform::sim::ScopedCallHook([=](const platform::sim::Call& call) {
        const bool onOpenFile = call.kind == CallKind::GetLength || call.kind == CallKind::Read ||
                                call.kind == CallKind::Write || call.kind == CallKind::SetLength ||
                                call.kind == CallKind::Seek || call.kind == CallKind::Flush;
        if (call.drive == drive && onOpenFile) {
            std::this_thread::sleep_for(delay);
        }
        return 0L;
    });
}
