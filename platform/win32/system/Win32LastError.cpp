#include <windows.h>

#include "platform/LastError.h"

namespace platform {

long GetLastError() {
    return static_cast<long>(::GetLastError());
}

} // namespace platform
