#pragma once
// Whether a located player may receive the job's image: it must run the firmware line the image
// was chosen for, and the image must pass the version policy against what the player runs.
#include "transfer/TransferJob.h"

#include <optional>
#include <string>

struct PlayerRefusal {
    enum class Reason {
        VersionUnreadable,
        OtherLine,
        Downgrade,
        LanguageMismatch,
    };
    Reason reason;
    std::string installedVersion; // empty when unreadable
};

// Why a player running `installed` (none: its version file could not be read) must not receive
// job.chosen, or none when it may.
std::optional<PlayerRefusal> RefusalFor(const TransferJob& job, const std::optional<std::string>& installed);
