#include "platform/Registry.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"
#include "tests/common/SystemValues.h"

#include <cctype>
#include <cstring>
#include <map>

namespace platform {

struct RegistryKeyTag {
    std::string path; // as opened
};

namespace {

constexpr std::uint32_t kStringValue = 1; // REG_SZ

// Lower case, no leading or trailing backslashes.
std::string Normalise(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    name.erase(name.find_last_not_of('\\') + 1);
    return name.erase(0, name.find_first_not_of('\\'));
}

} // namespace

namespace sim {

void CreateRegistryKey(const std::string& keyPath) {
    Locked([&](MachineState& machine) { machine.keys[Normalise(keyPath)]; });
}

void SetRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& data) {
    Locked([&](MachineState& machine) { machine.keys[Normalise(keyPath)][Normalise(valueName)] = data; });
}

} // namespace sim

long RegOpenKeyExA(RegistryRoot, const char* subKey, std::uint32_t, std::uint32_t, RegistryKey* result) {
    if (const long error = sim::BeforeCall({sim::CallKind::RegistryOpen, subKey})) {
        return error;
    }
    const std::string path = Normalise(subKey);
    if (!sim::Locked([&path](sim::MachineState& machine) { return machine.keys.count(path) != 0; })) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = new RegistryKeyTag{subKey};
    return ERROR_SUCCESS;
}

long RegQueryValueExA(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                      std::uint32_t* size) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (const long error = sim::BeforeCall({sim::CallKind::RegistryQuery, key->path + '\\' + valueName})) {
        return error;
    }
    const auto value = sim::Locked([&](sim::MachineState& machine) -> std::optional<std::string> {
        const auto values = machine.keys.find(Normalise(key->path));
        const bool found = values != machine.keys.end() && values->second.count(Normalise(valueName));
        return found ? std::optional(values->second.at(Normalise(valueName))) : std::nullopt;
    });
    if (!value) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto needed = static_cast<std::uint32_t>(value->size() + 1);
    if (type != nullptr) {
        *type = kStringValue;
    }
    if (data != nullptr && *size < needed) {
        *size = needed; // the buffer stays untouched, as Wine leaves it
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) {
        std::memcpy(data, value->c_str(), needed);
    }
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
    // The texts of the errors the tests give the registry; any other has none here.
    static const std::map<long, std::string> texts = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    };
    const auto found = texts.find(code);
    return found == texts.end() ? std::string() : found->second;
}

} // namespace platform
