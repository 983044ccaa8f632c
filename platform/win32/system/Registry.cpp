#include <windows.h>

#include "platform/Registry.h"

namespace platform {

long RegOpenKeyExA(RegistryRoot, const char* subKey, std::uint32_t options, std::uint32_t access,
                   RegistryKey* result) {
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, options, access, &key);
    if (status == ERROR_SUCCESS) {
        *result = reinterpret_cast<RegistryKey>(key);
    }
    return status;
}

long RegQueryValueExA(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                      std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD length = *size;
    const LONG status =
        ::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName, nullptr, &valueType, data, &length);
    *size = length;
    if (type != nullptr) {
        *type = valueType;
    }
    return status;
}

long RegCloseKey(RegistryKey key) {
    return ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

std::string FormatMessageA(long code) {
    char text[512] = {};
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code),
        MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), text, sizeof text, nullptr);
    return std::string(text, length);
}

} // namespace platform
