#pragma once
// The controls whose changes a screen reader reads out by itself (polite live regions), and the
// announcement of each change. The marking needs COM, which this object holds on the thread that
// made it, the window's, for as long as it lives.
#include "platform/Accessibility.h"

#include <vector>

class LiveRegions {
public:
    // Marks `controls`; where the system has no live settings (before Windows 8) nothing is marked,
    // and the announcements still go out.
    void Mark(const std::vector<platform::WindowHandle>& controls);
    // Undoes Mark while the window still exists.
    void Clear();
    // Tells screen readers that `control` changed; it must hold its new text already.
    static void Announce(platform::WindowHandle control);

private:
    struct ComForThisThread {
        bool initialised = platform::CoInitializeEx(COINIT_APARTMENTTHREADED);
        ~ComForThisThread();
    };
    ComForThisThread com_;
    platform::AccPropServices service_; // made after COM, released before it goes
    std::vector<platform::WindowHandle> marked_;
};
