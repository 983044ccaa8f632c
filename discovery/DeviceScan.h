#pragma once
// Whether a player of the family is attached, from the system's list of enumerated disks.
#include "app/UpdaterContext.h"
#include "discovery/DeviceId.h"

inline constexpr char kDiskEnumKey[] = "SYSTEM\\CurrentControlSet\\Services\\Disk\\Enum";

// One pass per pattern over the values "0", "1", … of the disk enumeration key, stopping at the
// first match; on a match reads the player's version (ReadDeviceVersion) once and returns true.
// A key that cannot be opened means no player, quietly. A value whose query fails (other than
// by not existing) is reported once in a message box, and again only if it later fails differently.
bool ScanForDevice(UpdaterContext& ctx);
