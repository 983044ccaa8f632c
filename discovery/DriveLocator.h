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
inline constexpr std::uint64_t kMaxCertificateBytes = 16000;
inline constexpr char kTakenMark = 'A';

// Rebuilds ctx.removableDrives from the removable drives above C:, in the system's order, keeping
// the first kDriveTableSize of them; returns how many it stored.
std::int32_t CountRemovableDrives(UpdaterContext& ctx);

// Looks at the first `count` table entries for a drive not yet taken whose root holds the
// configuration file; on success sets `letter` and ctx.deviceInfoPath and marks the entry taken.
bool FindConfigDrive(UpdaterContext& ctx, char& letter, std::int32_t count);
// The same with a certificate file that carries the vendor text.
bool FindCertificateDrive(UpdaterContext& ctx, char& letter, std::int32_t count);

// A drive handed out by a locator and the file that identified it.
struct LocatedPlayer {
    char letter;
    std::string filePath;
};
// The locators as the transfer worker uses them: the same hand-out, but ctx.deviceInfoPath, which
// the window's version read follows, stays as it is.
std::optional<LocatedPlayer> TakeConfigPlayer(UpdaterContext& ctx, std::int32_t count);
std::optional<LocatedPlayer> TakeCertificatePlayer(UpdaterContext& ctx, std::int32_t count);

// Whether the file at `path`, read as UTF-16LE, contains the vendor text. False for a file over
// kMaxCertificateBytes and for one that cannot be opened or read.
bool HasVendorMarker(const std::string& path);
