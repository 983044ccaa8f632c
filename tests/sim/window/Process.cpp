#include "platform/Process.h"
#include "sim/window/SimState.h"

namespace platform {

using namespace sim::detail;

std::string GetCommandLineA() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.commandLine;
}

bool BeginThread(void (*proc)(void*), void* argument) {
    State& state = TheState();
    std::unique_lock hold(state.lock);
    Data& data = state.data;
    ++data.startedThreads;
    switch (data.threadMode) {
    case sim::ThreadMode::Real:
        ++data.runningThreads;
        data.threads.emplace_back([proc, argument] {
            proc(argument);
            State& state = TheState();
            std::lock_guard hold(state.lock);
            --state.data.runningThreads;
            state.changed.notify_all();
        });
        return true;
    case sim::ThreadMode::Inline:
        hold.unlock();
        proc(argument);
        return true;
    case sim::ThreadMode::Deferred:
        data.deferredThreads.emplace_back(proc, argument);
        return true;
    }
    return false;
}

namespace sim {

void SetCommandLine(std::string commandLine) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.commandLine = std::move(commandLine);
}

void SetThreadMode(ThreadMode mode) {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    state.data.threadMode = mode;
}

int RunDeferredThreads() {
    State& state = TheState();
    int ran = 0;
    for (;;) {
        ThreadProc next;
        {
            std::lock_guard hold(state.lock);
            if (state.data.deferredThreads.empty()) {
                return ran;
            }
            next = state.data.deferredThreads.front();
            state.data.deferredThreads.pop_front();
        }
        next.first(next.second);
        ++ran;
    }
}

bool WaitForThreads(std::chrono::milliseconds deadline) {
    State& state = TheState();
    const bool ended = PumpUntil(
        [&] {
            std::lock_guard hold(state.lock);
            return state.data.runningThreads == 0;
        },
        deadline);
    if (!ended) {
        return false;
    }
    std::vector<std::thread> threads;
    {
        std::lock_guard hold(state.lock);
        threads = std::move(state.data.threads);
    }
    for (auto& thread : threads) {
        thread.join();
    }
    return true;
}

int ThreadsStarted() {
    State& state = TheState();
    std::lock_guard hold(state.lock);
    return state.data.startedThreads;
}

} // namespace sim
} // namespace platform
