#pragma once
// A bounded wait on a condition another thread or process brings about: a broken window fails the
// test (or the script) instead of hanging the run.
#include <chrono>
#include <functional>
#include <thread>

// Polls `done` every few milliseconds until it holds or `deadline` passes; returns done().
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
