#pragma once
// Holds the calls of the simulated machine that a test names until the test opens the gate, as a
// player that hangs on a call does. Opens by itself when it goes, so a failed test cannot hang.
#include "sim/system/SimMachine.h"

#include <condition_variable>
#include <functional>
#include <mutex>

class CallGate {
public:
    explicit CallGate(std::function<bool(const platform::sim::Call&)> holds)
        : hook_([this, holds = std::move(holds)](const platform::sim::Call& call) {
              if (holds(call)) {
                  std::unique_lock hold(lock_);
                  reached_ = true;
                  changed_.notify_all();
                  changed_.wait(hold, [this] { return open_; });
              }
              return 0L;
          }) {}
    ~CallGate() { Open(); }
    CallGate(const CallGate&) = delete;
    CallGate& operator=(const CallGate&) = delete;

    // A held call has come to the gate.
    bool Reached() const {
        std::lock_guard hold(lock_);
        return reached_;
    }
    void WaitUntilReached() {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [this] { return reached_; });
    }
    void Open() {
        {
            std::lock_guard hold(lock_);
            open_ = true;
        }
        changed_.notify_all();
    }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool open_ = false;
    platform::sim::ScopedCallHook hook_; // last, so it goes before what it uses
};
