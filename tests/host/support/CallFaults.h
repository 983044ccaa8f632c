#pragma once
// Faults of the simulated machine made through its call hook: each lasts while its object lives.
#include "platform/Errors.h"
#include "sim/system/SimMachine.h"
#include "tests/common/SystemValues.h"

#include <atomic>
#include <memory>
#include <string>

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

// The first `tries` calls of `kind` on `path` (opening it to write, or not) fail with `error`, as
// while a scanner looks at the file.
inline platform::sim::ScopedCallHook HeldForTries(platform::sim::CallKind kind, std::string path, bool writes,
                                                  int tries, long error) {
    auto left = std::make_shared<std::atomic<int>>(tries);
    return platform::sim::ScopedCallHook([=](const platform::sim::Call& call) {
        const bool held = call.kind == kind && call.path == path && call.writes == writes;
        return held && left->fetch_sub(1) > 0 ? error : 0L;
    });
}
