#pragma once
// Finding the drive a player is mounted on: the table of removable drives and the two locators,
// each handing out a drive once per count by marking its letter 'A'.
#include "app/UpdaterContext.h"
#include "discovery/VendorMarker.h"

#include <cstdint>
#include <optional>
#include <string>

inline constexpr char kConfigFileName[] = "sys_conf.qtx";
inline constexpr char kCertificateFileName[] = "DEVCERT.DAT";
inline constexpr char kTakenMark = 'A';

// "X:\name", a file in the root of drive `letter`; "X:\" for an empty name.
std::string PathInDriveRoot(char letter, const char* name);

// Rebuilds ctx.removableDrives from the removable drives above C:, in the system's order, keeping
// the first kDriveTableSize of them; returns how many it stored.
std::int32_t CountRemovableDrives(UpdaterContext& ctx);

// A drive handed out by a locator and the file that identified it.
struct LocatedPlayer {
    char letter;
    std::string filePath;
};

// Looks at the first `count` table entries for a drive not yet taken whose root holds the
// configuration file, and hands it out by marking its entry taken.
std::optional<LocatedPlayer> FindConfigDrive(UpdaterContext& ctx, std::int32_t count);
// The same with a certificate file that carries the vendor text.
std::optional<LocatedPlayer> FindCertificateDrive(UpdaterContext& ctx, std::int32_t count);
// The order the poll and the worker locate players in: a drive with the configuration file, and
// only when there is none left, one with a certificate.
std::optional<LocatedPlayer> FindPlayerDrive(UpdaterContext& ctx, std::int32_t count);

// Whether the file at `path`, read as UTF-16LE, contains the vendor text. False for a file over
// kMaxTaggedTextBytes and for one that cannot be opened or read.
bool HasVendorMarker(const std::string& path);
