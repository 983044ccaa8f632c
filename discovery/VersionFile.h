#pragma once
// Reading the installed firmware version from the player's file. The file comes in three forms: a
// short version file (at most 20 bytes), tagged UTF-16LE text, and tagged 8-bit text, tried when
// the UTF-16 reading gives no usable version.
#include "app/UpdaterContext.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The player's tagged text files, its certificate among them, are read up to this size.
inline constexpr std::uint64_t kMaxTaggedTextBytes = 16000;

// --- Text of the player's files ---

// Takes bytes[0 .. length) as UTF-16LE code units, ended by the first NUL unit (an odd last byte
// forms a unit with a zero above it), and returns them converted into a zeroed buffer of three bytes
// a unit and one more, room for any of them in UTF-8. When the conversion fails the buffer holds
// whatever part of it arrived.
std::vector<char> AnsiFromUtf16Bytes(const char* bytes, std::size_t length);

// The text before the first NUL of `buffer`, never reading past its end.
std::string_view TextIn(const std::vector<char>& buffer);

// A file of L bytes, read into L + 1 zeroed bytes so that its content always ends in a NUL.
struct SmallFile {
    std::uint64_t length = 0; // L
    std::vector<char> bytes;  // empty when L is over the limit: such a file is not read
    bool whole = false;       // all L bytes arrived
    bool failed = false;      // the read failed; what arrived of it stands
};
// None when `path` is under 3 characters (no drive located) or the file cannot be opened or
// measured. A file over `maxBytes` is measured only.
std::optional<SmallFile> ReadSmallFile(const std::string& path, std::uint64_t maxBytes);

// The installed version read from the file at `path` in whichever form it has, with `text` left as
// the last load made it; none when the file cannot be opened or its tagged text cannot be loaded.
std::optional<std::string> ReadInstalledVersion(const std::string& path, DeviceText& text);
// The same for a caller that keeps no text buffer, such as the transfer worker checking a player.
std::optional<std::string> ReadInstalledVersion(const std::string& path);
