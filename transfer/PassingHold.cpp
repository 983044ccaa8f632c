#include "transfer/PassingHold.h"

#include "platform/Errors.h"
#include "platform/Process.h"

#include <algorithm>
#include <functional>

namespace {

constexpr unsigned kFirstPauseMs = 50;
constexpr unsigned kLongestPauseMs = 1000;

bool IsPassingHold(long error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool RetryWhileHeld(const std::function<bool()>& attempt) {
    unsigned waited = 0;
    for (unsigned pause = kFirstPauseMs;; pause = std::min(2 * pause, kLongestPauseMs)) {
        if (attempt()) {
            return true;
        }
        if (!IsPassingHold(platform::GetLastError()) || waited == kHoldWaitMs) {
            return false;
        }
        const unsigned step = std::min(pause, kHoldWaitMs - waited);
        platform::Sleep(step);
        waited += step;
    }
}

} // namespace

bool OpenPlayerFile(platform::File& file, const std::string& path, platform::File::Mode mode) {
    return RetryWhileHeld([&] { return file.Open(path, mode); });
}

void OpenPlayerFileOrThrow(platform::File& file, const std::string& path, platform::File::Mode mode) {
    if (!OpenPlayerFile(file, path, mode)) {
        throw platform::FileError(path, platform::GetLastError());
    }
}

bool DeletePlayerFile(const std::string& path) {
    return RetryWhileHeld([&] { return platform::DeleteFileA(path.c_str()); });
}

bool ReplacePlayerFile(const std::string& from, const std::string& to) {
    return RetryWhileHeld([&] {
        return platform::MoveFileExA(from.c_str(), to.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
}
