#include "discovery/DeviceScan.h"

#include "discovery/VersionPolicy.h"
#include "platform/Errors.h"
#include "platform/Registry.h"

#include <string>

namespace {

constexpr std::uint32_t kValueBufferSize = 260;
// A pass otherwise ends only when the values run out: a key whose every query fails would keep it
// going for ever. Far more unreadable values in a row than any machine enumerates disks.
constexpr int kMaxConsecutiveFailures = 64;

// The key itself has gone while open: no later value can be read either.
bool KeyIsGone(long error) {
    return error == ERROR_INVALID_HANDLE || error == ERROR_KEY_DELETED;
}

enum class PassResult { Match, NoMatch, KeyUnavailable };

// Shows the system's text for a failed query of value `index`, unless that failure was shown already.
void ReportQueryFailure(UpdaterContext& ctx, int index, long error) {
    auto& reported = ctx.reportedRegistryFailures;
    if (auto found = reported.find(index); found != reported.end() && found->second == error) {
        return;
    }
    // Remembered before the box, whose message loop can run another poll.
    reported[index] = error;
    ctx.window->ShowSystemMessage(platform::FormatMessageA(error));
}

PassResult RunPass(UpdaterContext& ctx, std::string_view pattern) {
    platform::RegistryKey key = nullptr;
    if (platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine, kDiskEnumKey, 0, KEY_QUERY_VALUE,
                                &key) != ERROR_SUCCESS) {
        return PassResult::KeyUnavailable;
    }
    PassResult result = PassResult::NoMatch;
    int consecutiveFailures = 0;
    for (int index = 0; consecutiveFailures < kMaxConsecutiveFailures; ++index) {
        // Cleared each time, so a value that fails never compares the bytes of an earlier one.
        unsigned char data[kValueBufferSize] = {};
        std::uint32_t size = kValueBufferSize;
        const long status =
            platform::RegQueryValueExA(key, std::to_string(index).c_str(), nullptr, data, &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            ctx.reportedRegistryFailures.erase(ctx.reportedRegistryFailures.lower_bound(index),
                                               ctx.reportedRegistryFailures.end());
            break;
        }
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            consecutiveFailures = 0;
            ctx.reportedRegistryFailures.erase(index);
        } else {
            ++consecutiveFailures;
            ReportQueryFailure(ctx, index, status);
            if (KeyIsGone(status)) {
                break;
            }
        }
        if (MatchesHardwareId({reinterpret_cast<const char*>(data), kValueBufferSize}, pattern)) {
            result = PassResult::Match;
            break;
        }
    }
    platform::RegCloseKey(key);
    return result;
}

} // namespace

bool ScanForDevice(UpdaterContext& ctx) {
    for (const std::string_view pattern : hardwareIdPatterns) {
        switch (RunPass(ctx, pattern)) {
        case PassResult::Match:
            // After the key is closed: the version read may show a box.
            ReadDeviceVersion(ctx);
            return true;
        case PassResult::KeyUnavailable:
            return false;
        case PassResult::NoMatch:
            break;
        }
    }
    return false;
}
