#include "platform/Registry.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <cstring>
#include <map>

namespace platform {

struct RegistryKeyTag {
    std::string path; // normalised
};

namespace {

constexpr std::uint32_t kStringValue = 1; // REG_SZ

} // namespace

long RegOpenKeyExA(RegistryRoot, const char* subKey, std::uint32_t, std::uint32_t, RegistryKey* result) {
    sim::MachineState& machine = sim::Machine();
    std::lock_guard hold(machine.lock);
    const std::string path = sim::NormaliseRegistryName(subKey);
    if (auto fault = machine.openFaults.find(path); fault != machine.openFaults.end()) {
        return fault->second;
    }
    if (machine.keys.count(path) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = new RegistryKeyTag{path};
    return ERROR_SUCCESS;
}

long RegQueryValueExA(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                      std::uint32_t* size) {
    sim::MachineState& machine = sim::Machine();
    std::lock_guard hold(machine.lock);
    ++machine.queryCount;
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const std::string name = sim::NormaliseRegistryName(valueName);
    if (auto fault = machine.queryFaults.find(key->path + '\\' + name); fault != machine.queryFaults.end()) {
        return fault->second;
    }
    const auto keyFound = machine.keys.find(key->path);
    if (keyFound == machine.keys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto value = keyFound->second.values.find(name);
    if (value == keyFound->second.values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto needed = static_cast<std::uint32_t>(value->second.size() + 1);
    if (type != nullptr) {
        *type = kStringValue;
    }
    if (data == nullptr) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed; // the buffer stays untouched, as Wine leaves it
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, value->second.c_str(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

long RegCloseKey(RegistryKey key) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

std::string FormatMessageA(long code) {
    static const std::map<long, std::string> texts = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
        {ERROR_NOT_READY, "The device is not ready.\r\n"},
        {ERROR_SHARING_VIOLATION,
         "The process cannot access the file because it is being used by another process.\r\n"},
        {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
        {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
        {ERROR_MORE_DATA, "More data is available.\r\n"},
    };
    const auto found = texts.find(code);
    return found == texts.end() ? std::string() : found->second;
}

} // namespace platform
