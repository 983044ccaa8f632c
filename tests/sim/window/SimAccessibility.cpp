#include "sim/window/SimAccessibility.h"

#include "sim/window/SimWindows.h"

#include <mutex>

namespace platform {
namespace {

struct Data {
    std::vector<sim::RaisedWinEvent> events;
    std::map<WindowHandle, int> liveSettings;
    std::map<std::thread::id, int> com; // CoInitializeEx calls not yet undone, by thread
    bool refused = false;
};

std::mutex lock;
Data data;

template <typename Use> auto Locked(Use&& use) {
    std::lock_guard hold(lock);
    return use(data);
}

int serviceRecord; // what a created service points at

} // namespace

void NotifyWinEvent(unsigned event, WindowHandle window, long objectId, long childId) {
    const std::string text = sim::Inspect(window).text;
    const WindowHandle focus = GetFocus();
    Locked([&](Data& d) { d.events.push_back({event, window, objectId, childId, text, focus}); });
}

bool CoInitializeEx(unsigned) {
    Locked([](Data& d) { ++d.com[std::this_thread::get_id()]; });
    return true;
}

void CoUninitialize() {
    Locked([](Data& d) { --d.com[std::this_thread::get_id()]; });
}

AccPropServices::AccPropServices() {
    Locked([this](Data& d) {
        if (!d.refused && d.com[std::this_thread::get_id()] > 0) {
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
    return Locked([thread](Data& d) { return d.com[thread]; });
}

void RefuseAccPropServices() {
    Locked([](Data& d) { d.refused = true; });
}

void ResetAccessibility() {
    Locked([](Data& d) { d = Data{}; });
}

} // namespace sim
} // namespace platform
