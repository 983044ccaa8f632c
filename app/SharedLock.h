#pragma once
// The lock the two threads share around the context's text fields and drive table. Recursive, so
// that a procedure holding it may call another that takes it again, and it knows which thread holds
// it: a player's file must never be touched while it is held, or the window would wait on the player.
#include <atomic>
#include <mutex>
#include <thread>

class SharedLock {
public:
    void lock() {
        mutex_.lock();
        Enter();
    }
    bool try_lock() {
        if (!mutex_.try_lock()) {
            return false;
        }
        Enter();
        return true;
    }
    void unlock() {
        if (--depth_ == 0) {
            owner_.store(std::thread::id{}, std::memory_order_relaxed);
        }
        mutex_.unlock();
    }
    bool HeldByThisThread() const {
        return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
    }

private:
    void Enter() {
        owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
        ++depth_;
    }

    std::recursive_mutex mutex_;
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0; // only touched by the holder
};
