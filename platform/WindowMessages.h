#pragma once
// Window messages, notifications and flags the portable code uses, with the platform's names and
// values.
#include "platform/SystemValue.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>

#ifdef _WINDOWS_ // the system's values of these names come from these too
#include <commctrl.h>
#include <dbt.h>
#endif

PLATFORM_VALUE(unsigned, WM_INITDIALOG, 0x0110)
PLATFORM_VALUE(unsigned, WM_COMMAND, 0x0111)
PLATFORM_VALUE(unsigned, WM_SYSCOMMAND, 0x0112)
PLATFORM_VALUE(unsigned, WM_TIMER, 0x0113)
PLATFORM_VALUE(unsigned, WM_PAINT, 0x000F)
PLATFORM_VALUE(unsigned, WM_SETICON, 0x0080)
PLATFORM_VALUE(unsigned, WM_ICONERASEBKGND, 0x0027)
PLATFORM_VALUE(unsigned, WM_QUERYDRAGICON, 0x0037)
PLATFORM_VALUE(unsigned, WM_DEVICECHANGE, 0x0219)
PLATFORM_VALUE(unsigned, WM_NEXTDLGCTL, 0x0028)
PLATFORM_VALUE(unsigned, WM_DPICHANGED, 0x02E0)
PLATFORM_VALUE(unsigned, WM_APP, 0x8000)
PLATFORM_VALUE(unsigned, BN_CLICKED, 0)
PLATFORM_VALUE(unsigned, PBM_SETRANGE, 0x0401)
PLATFORM_VALUE(unsigned, PBM_SETPOS, 0x0402)
PLATFORM_VALUE(int, DWLP_MSGRESULT, 0)
PLATFORM_VALUE(int, DWLP_USER, 16) // after the message result and the dialog procedure
PLATFORM_VALUE(unsigned, DBT_DEVICEARRIVAL, 0x8000)
PLATFORM_VALUE(unsigned, DBT_DEVICEREMOVECOMPLETE, 0x8004)
PLATFORM_VALUE(unsigned, DBT_DEVTYP_VOLUME, 2)
PLATFORM_VALUE(int, IDOK, 1)
PLATFORM_VALUE(int, IDCANCEL, 2)
PLATFORM_VALUE(int, IDYES, 6)
PLATFORM_VALUE(unsigned, MB_OK, 0x0000)
PLATFORM_VALUE(unsigned, MB_OKCANCEL, 0x0001)
PLATFORM_VALUE(unsigned, MB_YESNO, 0x0004)
PLATFORM_VALUE(unsigned, MB_ICONEXCLAMATION, 0x0030)
PLATFORM_VALUE(int, SW_HIDE, 0)
PLATFORM_VALUE(int, SW_SHOW, 5)
PLATFORM_VALUE(unsigned, MF_STRING, 0x0000)
PLATFORM_VALUE(unsigned, MF_SEPARATOR, 0x0800)
PLATFORM_VALUE(int, SM_CXICON, 11)
PLATFORM_VALUE(int, SM_CYICON, 12)
PLATFORM_VALUE(int, ICON_SMALL, 0)
PLATFORM_VALUE(int, ICON_BIG, 1)
PLATFORM_VALUE(unsigned, STM_SETIMAGE, 0x0172)
PLATFORM_VALUE(unsigned, IMAGE_BITMAP, 0)
PLATFORM_VALUE(unsigned, SWP_NOZORDER, 0x0004)
PLATFORM_VALUE(unsigned, SWP_NOACTIVATE, 0x0010)

// The data of a WM_DEVICECHANGE arrival or removal notice, in the platform's layout
// (DEV_BROADCAST_HDR followed by the volume fields of DEV_BROADCAST_VOLUME).
namespace platform {

struct DeviceBroadcastVolume {
    std::uint32_t size;
    std::uint32_t deviceType; // DBT_DEVTYP_VOLUME for a volume
    std::uint32_t reserved;
    std::uint32_t unitMask; // bit 0 = A:, bit 1 = B:, …
    std::uint16_t flags;    // 0 for a plain volume; media and network flags otherwise
};
#ifdef _WINDOWS_
static_assert(offsetof(DeviceBroadcastVolume, unitMask) == offsetof(DEV_BROADCAST_VOLUME, dbcv_unitmask) &&
              offsetof(DeviceBroadcastVolume, flags) == offsetof(DEV_BROADCAST_VOLUME, dbcv_flags));
#endif

// Whether the notice's data describes a plain volume (no media or network flag). False for null
// data, another device type, or a header too short to hold the volume fields.
inline bool IsPlainVolumeNotice(LParam data) {
    const auto* volume = reinterpret_cast<const DeviceBroadcastVolume*>(data);
    return volume != nullptr && volume->deviceType == DBT_DEVTYP_VOLUME &&
           volume->size >= offsetof(DeviceBroadcastVolume, flags) + sizeof volume->flags &&
           volume->flags == 0;
}

} // namespace platform
