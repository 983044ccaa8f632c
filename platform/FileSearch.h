#pragma once
// Searching for files by name.

namespace platform {

struct FindTag;
using FindHandle = FindTag*;

// Starts a search for `fileName`: a handle the caller must close with FindClose, or null when
// nothing matches or the search fails (GetLastError tells why).
FindHandle FindFirstFileA(const char* fileName);
bool FindClose(FindHandle search);

} // namespace platform
