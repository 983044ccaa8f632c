#pragma once
// The calling thread's last system error code.

namespace platform {

// The code left by the last platform call of this thread that failed and says it sets one.
long GetLastError();

} // namespace platform
