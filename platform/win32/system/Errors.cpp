#include <windows.h>

#include "platform/Errors.h"

namespace platform {

long GetLastError() {
    return static_cast<long>(::GetLastError());
}

} // namespace platform
