#include "sim/system/SimCalls.h"
#include "sim/system/SimMachineState.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace platform::sim {
namespace {

struct Hooks {
    std::mutex lock;
    std::map<int, CallHook> byId; // in installation order
    int nextId = 0;
};

Hooks& AllHooks() {
    static Hooks hooks;
    return hooks;
}

} // namespace

ScopedCallHook::ScopedCallHook(CallHook hook) {
    Hooks& hooks = AllHooks();
    std::lock_guard hold(hooks.lock);
    id_ = hooks.nextId++;
    hooks.byId.emplace(id_, std::move(hook));
}

ScopedCallHook::~ScopedCallHook() {
    Hooks& hooks = AllHooks();
    std::lock_guard hold(hooks.lock);
    hooks.byId.erase(id_);
}

long BeforeCall(Call call) {
    std::vector<CallHook> hooks;
    {
        Hooks& all = AllHooks();
        std::lock_guard hold(all.lock);
        for (const auto& [id, hook] : all.byId) {
            hooks.push_back(hook);
        }
    }
    call.drive = DriveLetterOf(call.path);
    for (const CallHook& hook : hooks) {
        if (const long error = hook(call); error != 0) {
            return error;
        }
    }
    return 0;
}

} // namespace platform::sim
