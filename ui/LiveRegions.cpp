#include "ui/LiveRegions.h"

LiveRegions::ComForThisThread::~ComForThisThread() {
    if (initialised) {
        platform::CoUninitialize();
    }
}

void LiveRegions::Mark(const std::vector<platform::WindowHandle>& controls) {
    for (platform::WindowHandle control : controls) {
        if (service_.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, platform::AccProperty::LiveSetting,
                                 platform::Polite)) {
            marked_.push_back(control);
        }
    }
}

void LiveRegions::Clear() {
    for (platform::WindowHandle control : marked_) {
        service_.ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, platform::AccProperty::LiveSetting);
    }
    marked_.clear();
}

void LiveRegions::Announce(platform::WindowHandle control) {
    platform::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}
