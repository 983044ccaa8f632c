#include "platform/win32/window/Handles.h"

// Defines the GUIDs of oleacc.h here, so no import library of oleacc is linked: its DLL loads only
// when COM creates the service, after the DLL search has been confined to system32.
#include <initguid.h>
#include <oleacc.h>

#include "platform/Accessibility.h"

namespace {

// UI Automation's live-setting property, which MinGW-w64's headers lack.
DEFINE_GUID(LiveSetting_Property_GUID, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58,
            0xeb);

IAccPropServices* ToService(void* service) {
    return static_cast<IAccPropServices*>(service);
}

MSAAPROPID PropertyId(platform::AccProperty property) {
    static const MSAAPROPID ids[] = {LiveSetting_Property_GUID}; // by AccProperty
    return ids[static_cast<int>(property)];
}

} // namespace

namespace platform {

void NotifyWinEvent(unsigned event, WindowHandle window, long objectId, long childId) {
    ::NotifyWinEvent(event, win32::ToHwnd(window), objectId, childId);
}

bool CoInitializeEx(unsigned flags) {
    return SUCCEEDED(::CoInitializeEx(nullptr, flags));
}

void CoUninitialize() {
    ::CoUninitialize();
}

AccPropServices::AccPropServices() {
    IAccPropServices* service = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IAccPropServices, reinterpret_cast<void**>(&service)))) {
        service_ = service;
    }
}

AccPropServices::~AccPropServices() {
    if (service_ != nullptr) {
        ToService(service_)->Release();
    }
}

bool AccPropServices::SetHwndProp(WindowHandle window, long objectId, long childId, AccProperty property,
                                  int value) {
    if (service_ == nullptr) {
        return false;
    }
    VARIANT variant{}; // zeroed as VariantInit would, without oleaut32
    variant.vt = VT_I4;
    variant.lVal = value;
    return SUCCEEDED(ToService(service_)->SetHwndProp(win32::ToHwnd(window), static_cast<DWORD>(objectId),
                                                      static_cast<DWORD>(childId), PropertyId(property),
                                                      variant));
}

bool AccPropServices::ClearHwndProps(WindowHandle window, long objectId, long childId, AccProperty property) {
    if (service_ == nullptr) {
        return false;
    }
    MSAAPROPID id = PropertyId(property);
    return SUCCEEDED(ToService(service_)->ClearHwndProps(win32::ToHwnd(window), static_cast<DWORD>(objectId),
                                                         static_cast<DWORD>(childId), &id, 1));
}

} // namespace platform
