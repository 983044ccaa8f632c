#pragma once
// Window messages, notifications and flags the portable code uses, with the platform's names and
// values. Guarded, because the Win32 implementation also sees the platform's own macros.
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>

#ifndef WM_INITDIALOG
inline constexpr unsigned WM_INITDIALOG = 0x0110;
#endif
#ifndef WM_COMMAND
inline constexpr unsigned WM_COMMAND = 0x0111;
#endif
#ifndef WM_SYSCOMMAND
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
#endif
#ifndef WM_TIMER
inline constexpr unsigned WM_TIMER = 0x0113;
#endif
#ifndef WM_PAINT
inline constexpr unsigned WM_PAINT = 0x000F;
#endif
#ifndef WM_SETICON
inline constexpr unsigned WM_SETICON = 0x0080;
#endif
#ifndef WM_ICONERASEBKGND
inline constexpr unsigned WM_ICONERASEBKGND = 0x0027;
#endif
#ifndef WM_QUERYDRAGICON
inline constexpr unsigned WM_QUERYDRAGICON = 0x0037;
#endif
#ifndef WM_DEVICECHANGE
inline constexpr unsigned WM_DEVICECHANGE = 0x0219;
#endif
#ifndef WM_APP
inline constexpr unsigned WM_APP = 0x8000;
#endif
#ifndef BN_CLICKED
inline constexpr unsigned BN_CLICKED = 0;
#endif
#ifndef PBM_SETRANGE
inline constexpr unsigned PBM_SETRANGE = 0x0401;
#endif
#ifndef PBM_SETPOS
inline constexpr unsigned PBM_SETPOS = 0x0402;
#endif
#ifndef DWLP_MSGRESULT
inline constexpr int DWLP_MSGRESULT = 0;
#endif
#ifndef DWLP_USER
inline constexpr int DWLP_USER = 16; // after the message result and the dialog procedure
#endif
#ifndef DBT_DEVICEARRIVAL
inline constexpr unsigned DBT_DEVICEARRIVAL = 0x8000;
#endif
#ifndef DBT_DEVICEREMOVECOMPLETE
inline constexpr unsigned DBT_DEVICEREMOVECOMPLETE = 0x8004;
#endif
#ifndef DBT_DEVTYP_VOLUME
inline constexpr unsigned DBT_DEVTYP_VOLUME = 2;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
#ifndef IDYES
inline constexpr int IDYES = 6;
#endif
#ifndef MB_OK
inline constexpr unsigned MB_OK = 0x0000;
#endif
#ifndef MB_OKCANCEL
inline constexpr unsigned MB_OKCANCEL = 0x0001;
#endif
#ifndef MB_YESNO
inline constexpr unsigned MB_YESNO = 0x0004;
#endif
#ifndef MB_ICONEXCLAMATION
inline constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
#endif
#ifndef SW_HIDE
inline constexpr int SW_HIDE = 0;
#endif
#ifndef SW_SHOW
inline constexpr int SW_SHOW = 5;
#endif
#ifndef MF_STRING
inline constexpr unsigned MF_STRING = 0x0000;
#endif
#ifndef MF_SEPARATOR
inline constexpr unsigned MF_SEPARATOR = 0x0800;
#endif
#ifndef SM_CXICON
inline constexpr int SM_CXICON = 11;
#endif
#ifndef SM_CYICON
inline constexpr int SM_CYICON = 12;
#endif
#ifndef ICON_SMALL
inline constexpr int ICON_SMALL = 0;
#endif
#ifndef ICON_BIG
inline constexpr int ICON_BIG = 1;
#endif
#ifndef STM_SETIMAGE
inline constexpr unsigned STM_SETIMAGE = 0x0172;
#endif
#ifndef IMAGE_BITMAP
inline constexpr unsigned IMAGE_BITMAP = 0;
#endif

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

// Whether the notice's data describes a plain volume (no media or network flag). False for null
// data, another device type, or a header too short to hold the volume fields.
inline bool IsPlainVolumeNotice(LParam data) {
    const auto* volume = reinterpret_cast<const DeviceBroadcastVolume*>(data);
    return volume != nullptr && volume->deviceType == DBT_DEVTYP_VOLUME &&
           volume->size >= offsetof(DeviceBroadcastVolume, flags) + sizeof volume->flags &&
           volume->flags == 0;
}

} // namespace platform
