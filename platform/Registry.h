#pragma once
// The registry, read only, and the system's wording of error codes.
#include "platform/SystemValue.h"

#include <cstdint>
#include <string>

PLATFORM_VALUE(std::uint32_t, KEY_QUERY_VALUE, 0x0001)

namespace platform {

// Only the local machine's hive is ever read.
enum class RegistryRoot { LocalMachine };

struct RegistryKeyTag;
using RegistryKey = RegistryKeyTag*;

// Opens `subKey` under `root`. ERROR_SUCCESS and an open key in *result (close it with RegCloseKey),
// or the system error code (ERROR_FILE_NOT_FOUND for a missing key) and *result untouched.
long RegOpenKeyExA(RegistryRoot root, const char* subKey, std::uint32_t options, std::uint32_t access,
                   RegistryKey* result);
// Reads value `valueName` into data[0 .. *size). ERROR_SUCCESS with *size = bytes stored;
// ERROR_MORE_DATA when the value is longer (*size = its length, data may be left untouched);
// ERROR_FILE_NOT_FOUND for a missing value; any other code for other failures.
long RegQueryValueExA(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                      std::uint32_t* size);
long RegCloseKey(RegistryKey key);

// The system's own text for `code` (FormatMessageA from the system table, language 0x0800, at most
// 511 characters), line break included; empty when the system has none.
std::string FormatMessageA(long code);

} // namespace platform
