#include "platform/FileSearch.h"
#include "sim/system/SimCalls.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <system_error>

namespace platform {

// Only names a search, as the simulation keeps nothing per search. Wildcards are not supported.
struct FindTag {};

FindHandle FindFirstFileA(const char* fileName) {
    if (const long error = sim::BeforeCall(sim::CallKind::Find, fileName)) {
        sim::SetLastError(error);
        return nullptr;
    }
    const auto hostPath = sim::ResolvePath(fileName);
    if (!hostPath) {
        sim::SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    std::error_code error;
    if (!std::filesystem::exists(*hostPath, error)) {
        sim::SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return new FindTag;
}

bool FindClose(FindHandle search) {
    delete search;
    return search != nullptr;
}

} // namespace platform
