#include "discovery/DriveLocator.h"

#include "discovery/PathProbe.h"
#include "discovery/VersionFile.h"
#include "platform/Volumes.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

constexpr std::uint32_t kDriveStringsBuffer = 500;

// The entry at `index` if it is a letter not yet taken; zero entries lie past the last count,
// which a stale `count` can reach.
char CandidateAt(UpdaterContext& ctx, std::int32_t index) {
    const char entry = ctx.removableDrives.With([&](const DriveTable& table) { return table[index]; });
    return entry == kTakenMark ? '\0' : entry;
}

// Hands out the first entry among the first `count` that is not taken and passes `isPlayer`. The
// player's files are probed and read without the shared lock, so that the window, which takes it
// on every poll, never waits on a slow device; the entry is taken under the lock only if it still
// holds the letter probed, so the worker and a poll never take the same one.
template <typename Test>
std::optional<LocatedPlayer> TakeDrive(UpdaterContext& ctx, std::int32_t count, const char* fileName,
                                       Test isPlayer) {
    const auto limit = std::clamp<std::int32_t>(count, 0, kDriveTableSize);
    for (std::int32_t i = 0; i < limit; ++i) {
        const char letter = CandidateAt(ctx, i);
        if (letter == '\0') {
            continue;
        }
        std::string path = PathInDriveRoot(letter, fileName);
        if (!PathProbe(path).Exists() || !isPlayer(path)) {
            continue;
        }
        const char now = ctx.removableDrives.With([&](DriveTable& table) {
            const char entry = table[i];
            if (entry == letter) {
                table[i] = kTakenMark;
            }
            return entry;
        });
        if (now == letter) {
            return LocatedPlayer{letter, std::move(path)};
        }
        if (now != kTakenMark) {
            --i; // the table was counted again meanwhile: the entry now names another drive
        }
    }
    return std::nullopt;
}

} // namespace

std::string PathInDriveRoot(char letter, const char* name) {
    return std::string{letter} + ":\\" + name;
}

std::int32_t CountRemovableDrives(UpdaterContext& ctx) {
    char roots[kDriveStringsBuffer] = {};
    const std::uint32_t length = platform::GetLogicalDriveStringsA(kDriveStringsBuffer, roots);
    // A list that did not fit was not written; nothing past the returned length is read.
    const std::size_t end = length < kDriveStringsBuffer ? length : 0;
    DriveTable table{};
    std::int32_t count = 0;
    for (std::size_t at = 0; at < end && count < kDriveTableSize;) {
        const char* root = roots + at;
        const auto rootLength =
            static_cast<std::size_t>(std::find(root, static_cast<const char*>(roots) + end, '\0') - root);
        const auto letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
        if (rootLength > 0 && letter > 'C' && letter <= 'Z' &&
            platform::GetDriveTypeA(root) == DRIVE_REMOVABLE) {
            table[count++] = letter;
        }
        at += rootLength + 1;
    }
    ctx.removableDrives.Set(table);
    return count;
}

std::optional<LocatedPlayer> FindConfigDrive(UpdaterContext& ctx, std::int32_t count) {
    return TakeDrive(ctx, count, kConfigFileName, [](const std::string&) { return true; });
}

std::optional<LocatedPlayer> FindCertificateDrive(UpdaterContext& ctx, std::int32_t count) {
    return TakeDrive(ctx, count, kCertificateFileName, HasVendorMarker);
}

std::optional<LocatedPlayer> FindPlayerDrive(UpdaterContext& ctx, std::int32_t count) {
    if (auto player = FindConfigDrive(ctx, count)) {
        return player;
    }
    return FindCertificateDrive(ctx, count);
}

bool HasVendorMarker(const std::string& path) {
    // A certificate that cannot be read identifies no player; after a short read the zeroed rest
    // ends the text early.
    const std::optional<SmallFile> file = ReadSmallFile(path, kMaxTaggedTextBytes);
    return file && file->length <= kMaxTaggedTextBytes && !file->failed &&
           CarriesVendorText({file->bytes.data(), static_cast<std::size_t>(file->length)});
}
