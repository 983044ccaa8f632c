#include "sim/window/SimAccessibility.h"

#include "sim/window/SimWindows.h"

#include <mutex>

namespace platform {
namespace {

struct Data {
    std::vector<sim::RaisedWinEvent> events;
    std::map<WindowHandle, int> liveSettings;
    std::map<std::thread::id, int> com; // every thread that initialised it, with its count
    bool refused = false;
};

std::mutex lock;
Data data;

template <typename Use> auto Locked(Use&& use) {
    std::lock_guard hold(lock);
    return use(data);
}

int serviceRecord; // what a created service points at

bool ThisThreadHasCom(const Data& d) {
    const auto found = d.com.find(std::this_thread::get_id());
    return found != d.com.end() && found->second > 0;
}

} // namespace

void NotifyWinEvent(unsigned event, WindowHandle window, long objectId, long childId) {
    const std::string text = sim::Inspect(window).text;
    Locked([&](Data& d) { d.events.push_back({event, window, objectId, childId, text}); });
}

bool CoInitializeEx(unsigned) {
    return Locked([](Data& d) { return ++d.com[std::this_thread::get_id()] > 0; });
}

void CoUninitialize() {
    Locked([](Data& d) { --d.com[std::this_thread::get_id()]; });
}

AccPropServices::AccPropServices() {
    Locked([this](Data& d) {
        if (!d.refused && ThisThreadHasCom(d)) {
            service_ = &serviceRecord;
        }
    });
}

AccPropServices::~AccPropServices() = default;

bool AccPropServices::SetHwndProp(WindowHandle window, long objectId, long childId, AccProperty, int value) {
    return service_ != nullptr && objectId == OBJID_CLIENT && childId == CHILDID_SELF &&
           Locked([&](Data& d) { return (d.liveSettings[window] = value, true); });
}

bool AccPropServices::ClearHwndProps(WindowHandle window, long objectId, long childId, AccProperty) {
    return service_ != nullptr && objectId == OBJID_CLIENT && childId == CHILDID_SELF &&
           Locked([&](Data& d) { return d.liveSettings.erase(window) != 0; });
}

namespace sim {

std::vector<RaisedWinEvent> RaisedWinEvents() {
    return Locked([](Data& d) { return d.events; });
}

std::map<WindowHandle, int> LiveSettings() {
    return Locked([](Data& d) { return d.liveSettings; });
}

int ComInitialisations(std::thread::id thread) {
    return Locked([thread](Data& d) { return d.com.count(thread) ? d.com[thread] : 0; });
}

std::vector<std::thread::id> ComThreads() {
    return Locked([](Data& d) {
        std::vector<std::thread::id> threads;
        for (const auto& [thread, count] : d.com) {
            threads.push_back(thread);
        }
        return threads;
    });
}

void RefuseAccPropServices() {
    Locked([](Data& d) { d.refused = true; });
}

void ResetAccessibility() {
    Locked([](Data& d) { d = Data{}; });
}

} // namespace sim
} // namespace platform
