#pragma once
// The data of a WM_DEVICECHANGE arrival or removal notice, in the platform's layout
// (DEV_BROADCAST_HDR followed by the volume fields of DEV_BROADCAST_VOLUME).
#include "platform/Types.h"
#include "platform/WindowMessages.h"

#include <cstddef>
#include <cstdint>

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
