#pragma once
// A virus scanner or an indexer opens a file the moment it is written and holds it for a while
// without letting others rename or delete it. The player's tolvr500.tmp and tolvr500.rom are opened,
// renamed and removed through these, which try again while such a hold lasts.
#include "platform/File.h"

#include <string>

// How long a hold is waited out before the failure stands: a scanner reading a large image back
// from a slow player takes a few seconds, and the bar keeps moving meanwhile.
inline constexpr unsigned kHoldWaitMs = 10000;

// File::Open, File::OpenOrThrow, DeleteFileA and MoveFileExA(MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH) on a player's file, tried again while they fail for a hold (a sharing or
// lock violation, or access denied, which a file still being deleted gives), in growing pauses, until
// kHoldWaitMs have passed. Then the last failure stands, and GetLastError tells it.
bool OpenPlayerFile(platform::File& file, const std::string& path, platform::File::Mode mode);
void OpenPlayerFileOrThrow(platform::File& file, const std::string& path, platform::File::Mode mode);
bool DeletePlayerFile(const std::string& path);
bool ReplacePlayerFile(const std::string& from, const std::string& to);
