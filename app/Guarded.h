#pragma once
// A value that may only be reached while a lock shared with other values is held.
#include "app/SharedLock.h"

#include <mutex>
#include <utility>

template <typename T> class Guarded {
public:
    Guarded(SharedLock& lock, T initial) : lock_(lock), value_(std::move(initial)) {}
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    T Get() const {
        std::lock_guard hold(lock_);
        return value_;
    }
    void Set(T value) {
        std::lock_guard hold(lock_);
        value_ = std::move(value);
    }
    // Runs use(value) under the lock and returns its result. Never send a window message that
    // waits, nor show a message box, inside use: the other thread may need the lock to answer.
    template <typename Use> decltype(auto) With(Use&& use) {
        std::lock_guard hold(lock_);
        return std::forward<Use>(use)(value_);
    }
    template <typename Use> decltype(auto) With(Use&& use) const {
        std::lock_guard hold(lock_);
        return std::forward<Use>(use)(value_);
    }

private:
    SharedLock& lock_;
    T value_;
};
