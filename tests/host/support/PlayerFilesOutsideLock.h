#pragma once
// Fails the running test when any thread touches a file or volume on a drive letter while it holds
// the context's shared lock: the window takes that lock on every poll, so it would wait as long as
// a slow or failing player takes to answer.
#include "app/SharedLock.h"
#include "sim/system/SimMachine.h"

#include <gtest/gtest.h>

#include <unistd.h>

class PlayerFilesOutsideLock {
public:
    // glibc's mutex records the thread that holds it; the product's lock keeps no record of its own.
    static bool HeldByThisThread(SharedLock& lock) {
        return lock.native_handle()->__data.__owner == ::gettid();
    }

    explicit PlayerFilesOutsideLock(SharedLock& lock)
        : hook_([&lock](const platform::sim::Call& call) {
              if (call.drive != 0 && HeldByThisThread(lock)) {
                  ADD_FAILURE() << call.path << " touched while the shared lock is held";
              }
              return 0L;
          }) {}

private:
    platform::sim::ScopedCallHook hook_;
};
