#pragma once
// Reading the installed firmware version from the player's file, without any window. The file
// comes in three forms: a short version file (at most 20 bytes), tagged UTF-16LE text, and tagged
// 8-bit text, tried when the UTF-16 reading gives no usable version.
#include "app/UpdaterContext.h"
#include "discovery/VersionText.h"

#include <optional>
#include <string>

// Form 2: replaces `text` with the file's UTF-16LE content converted to ANSI. False,
// leaving `text` as it was, when the path is under 3 characters, the file cannot be opened or is
// over kMaxTaggedTextBytes; false with `text` replaced by zeros when the file cannot be read whole.
bool LoadDeviceTextWide(const std::string& path, DeviceText& text);
// Form 3: the same steps, then the bytes themselves; true exactly when all L bytes arrived.
bool LoadDeviceTextNarrow(const std::string& path, DeviceText& text);

// TaggedVersionOf `text`, the 8-bit reload coming from `path` (LoadDeviceTextNarrow, whose result
// is not looked at).
std::string ExtractTaggedVersion(const std::string& path, DeviceText& text);

// The installed version read from the file at `path` in whichever form it has, with `text` left as
// the last load made it; none when the file cannot be opened or its tagged text cannot be loaded.
std::optional<std::string> ReadInstalledVersion(const std::string& path, DeviceText& text);
// The same for a caller that keeps no text buffer, such as the transfer worker checking a player.
std::optional<std::string> ReadInstalledVersion(const std::string& path);
