// Drive letters for tests under Wine: maps a Unix folder to a letter through Wine's mount manager.
#pragma once

#include <string>

// Maps `letter` (a–z, either case; not C or Z) to the absolute UTF-8 Unix path `unixPath` with
// driveType DRIVE_REMOVABLE (2) or DRIVE_FIXED (3); replaces an earlier mapping; true on success.
bool DefineWineDrive(char letter, const std::string& unixPath, unsigned driveType);

// Removes the mapping of `letter` (a–z, either case; not C or Z); true on success, false if none.
bool RemoveWineDrive(char letter);
