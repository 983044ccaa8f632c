#pragma once
// What a screen reader is told of the window: the events raised for its controls, and the
// properties that say how to read a control's changes out. COM, which the property service needs,
// is set up per thread.
#include "platform/SystemValue.h"
#include "platform/Types.h"

#ifdef _WINDOWS_ // the system's values of these names come from these too
#include <objbase.h>
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED // Windows 8's, hidden from a build for Windows 7, which ignores it
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019
#endif
#endif

PLATFORM_VALUE(unsigned, EVENT_OBJECT_LIVEREGIONCHANGED, 0x8019)
PLATFORM_VALUE(long, OBJID_CLIENT, -4)
PLATFORM_VALUE(long, CHILDID_SELF, 0)
PLATFORM_VALUE(unsigned, COINIT_APARTMENTTHREADED, 0x2)

namespace platform {

// UI Automation's LiveSetting: how eagerly a screen reader reads a live region's change.
enum LiveSetting : int { Off = 0, Polite = 1, Assertive = 2 };

// Tells every listener (screen readers) that `event` happened to the object of `window`.
void NotifyWinEvent(unsigned event, WindowHandle window, long objectId, long childId);

// True when the calling thread has COM (also when it had it already); each true answer is paired
// with one CoUninitialize on the same thread.
bool CoInitializeEx(unsigned flags);
void CoUninitialize();

// The properties a control's accessible object can be given (IAccPropServices); only LiveSetting
// (its value a LiveSetting, as VT_I4) is used.
enum class AccProperty { LiveSetting };

// The accessibility property service (CoCreateInstance(CLSID_AccPropServices)), on a thread that
// has COM and for as long as this object lives there. When it cannot be created, every call fails.
class AccPropServices {
public:
    AccPropServices();
    ~AccPropServices();
    AccPropServices(const AccPropServices&) = delete;
    AccPropServices& operator=(const AccPropServices&) = delete;

    bool IsAvailable() const { return service_ != nullptr; }
    bool SetHwndProp(WindowHandle window, long objectId, long childId, AccProperty property, int value);
    bool ClearHwndProps(WindowHandle window, long objectId, long childId, AccProperty property);

private:
    void* service_ = nullptr; // the system's interface or the simulation's record
};

} // namespace platform
