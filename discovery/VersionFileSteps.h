#pragma once
// The steps of reading the installed version one by one, for the tests and fuzz harnesses that
// check each on any bytes at all. The product asks only VersionFile.h.
#include "discovery/VersionFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::uint64_t kMaxShortVersionBytes = 20;
// A tagged version shorter than this sends the reader on to the 8-bit reading.
inline constexpr std::size_t kShortestUsableVersion = 2;

// Converts the NUL-terminated `wide` into narrow[0 .. capacity). Returns the narrow length without
// its NUL, or -1 when the conversion fails (narrow then holds a partial, possibly unterminated text)
// or the capacity has no room at all.
int WideToAnsi(const char16_t* wide, char* narrow, int capacity);

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
