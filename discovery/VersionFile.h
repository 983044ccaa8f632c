#pragma once
// Reading the installed firmware version from the player's file. The file comes in three forms: a
// short version file (at most 20 bytes), tagged UTF-16LE text, and tagged 8-bit text, tried when
// the UTF-16 reading gives no usable version. The byte forms and the tag search touch no file, so
// each can be checked on any bytes at all.
#include "app/UpdaterContext.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint64_t kMaxShortVersionBytes = 20;
// The player's tagged text files, its certificate among them, are read up to this size.
inline constexpr std::uint64_t kMaxTaggedTextBytes = 16000;
// A tagged version shorter than this sends the reader on to the 8-bit reading.
inline constexpr std::size_t kShortestUsableVersion = 2;

// --- Text of the player's files ---

// Converts the NUL-terminated `wide` into narrow[0 .. capacity). Returns the narrow length without
// its NUL, or -1 when the conversion fails (narrow then holds a partial, possibly unterminated text)
// or the capacity has no room at all.
int WideToAnsi(const char16_t* wide, char* narrow, int capacity);

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

// --- The three forms ---

// Form 1, a short version file: its bytes are the version, NUL bytes dropped.
std::string ShortVersionText(std::string_view bytes);

// Form 2, tagged UTF-16LE text: the bytes converted to ANSI (AnsiFromUtf16Bytes).
DeviceText WideDeviceText(std::string_view bytes);

// The tag search: the text between the '>' after "<firmver>" and the next '<' (searches that find
// nothing give -1, and the range is cut to the text).
std::string SearchVersionTag(std::string_view text);

// Form 2 from the file: replaces `text` with its UTF-16LE content converted to ANSI. False, leaving
// `text` as it was, when the file cannot be read at all or is over kMaxTaggedTextBytes; false with
// `text` replaced by zeros when it cannot be read whole.
bool LoadDeviceTextWide(const std::string& path, DeviceText& text);
// Form 3 from the file: the same steps, then the bytes themselves; true exactly when all L bytes
// arrived, and whatever arrived of them stands.
bool LoadDeviceTextNarrow(const std::string& path, DeviceText& text);

// The tag search on `text`; when that gives no usable version, `text` is replaced by the 8-bit
// reading of `path` (whose result is not looked at) and searched once more. That second result stands.
std::string ExtractTaggedVersion(const std::string& path, DeviceText& text);

// The installed version read from the file at `path` in whichever form it has, with `text` left as
// the last load made it; none when the file cannot be opened or its tagged text cannot be loaded.
std::optional<std::string> ReadInstalledVersion(const std::string& path, DeviceText& text);
// The same for a caller that keeps no text buffer, such as the transfer worker checking a player.
std::optional<std::string> ReadInstalledVersion(const std::string& path);
