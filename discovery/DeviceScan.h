#pragma once
// Whether a player of the family is attached, from the system's list of enumerated disks.
#include "app/UpdaterContext.h"

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr char kDiskEnumKey[] = "SYSTEM\\CurrentControlSet\\Services\\Disk\\Enum";

// Only this many leading characters of a device-instance ID are compared, ignoring case.
inline constexpr std::size_t kComparedIdLength = 42;

// Device-ID prefixes of the supported models, in the order they are tried.
inline constexpr std::array<std::string_view, 6> hardwareIdPatterns = {
    "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&R",
    "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r530&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r540&R",
    "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r550&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&R",
};

// One pass per pattern over the values "0", "1", … of the disk enumeration key, stopping at the
// first match; on a match reads the player's version (ReadDeviceVersion) once and returns true.
// A key that cannot be opened means no player, quietly. A value whose query fails (other than
// by not existing) is reported once in a message box, and again only if it later fails differently.
bool ScanForDevice(UpdaterContext& ctx);
