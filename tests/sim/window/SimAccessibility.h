#pragma once
// The simulated side of platform/Accessibility.h: what a screen reader would have been told.
// - NotifyWinEvent records the event with the text its window holds at that moment.
// - COM is counted per thread; the property service is there only on a thread that has COM, and
//   not at all once RefuseAccPropServices() was called (Windows 7, or Wine's E_NOTIMPL).
// Reset() of the window system forgets all of it.
#include "platform/Accessibility.h"

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace platform::sim {

struct RaisedWinEvent {
    unsigned event;
    WindowHandle window;
    long objectId, childId;
    std::string text;   // the window's text when the event was raised
    WindowHandle focus; // and the window that had the focus then
};
std::vector<RaisedWinEvent> RaisedWinEvents(); // since the reset, in order

// The live setting each window's client object has now (set and not cleared).
std::map<WindowHandle, int> LiveSettings();
// How many CoInitializeEx calls of `thread` still wait for their CoUninitialize.
int ComInitialisations(std::thread::id thread);

void RefuseAccPropServices();

void ResetAccessibility(); // called by Reset()

} // namespace platform::sim
