#pragma once
// The lock the two threads share around the context's text fields and drive table. Recursive, so
// that a procedure holding it may call another that takes it again.
#include <mutex>

using SharedLock = std::recursive_mutex;
