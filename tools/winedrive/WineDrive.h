// Drive letters for tests under Wine: maps a Unix folder to a letter through Wine's mount manager.
#pragma once

#include <string>

// Maps letter (any case, not C or Z) to absolute UTF-8 unixPath as DRIVE_REMOVABLE or DRIVE_FIXED, replacing
// any earlier mapping; true on success.
bool DefineWineDrive(char letter, const std::string& unixPath, unsigned driveType);

// Removes the mapping of letter (any case, not C or Z); false with GetLastError() set if it fails or none
// exists.
bool RemoveWineDrive(char letter);

// The Windows path of an absolute Unix path, through Wine's Z: drive ("/tmp/a" gives "Z:\\tmp\\a").
std::string WinePath(const std::string& unixPath);
