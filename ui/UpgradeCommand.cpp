// The Firmware Upgrade command and the timer-driven progress bar.
#include "discovery/DeviceVersion.h" // kUpdaterCaption
#include "discovery/DriveLocator.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "transfer/ProgressTimerMessage.h"
#include "transfer/TransferWorker.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

constexpr const char* kUpgradeWarning =
    "If you continue the firmware update, your content stored on the \n"
    "Tolvo r5xx player will be deleted. You should backup your content\n"
    " before performing the firmware update. Click OK to continue the \n"
    "firmware update process. Click Cancel to exit the firmware update program.";

constexpr std::int64_t kMinimumImageBytes = 50000;
constexpr std::int64_t kProgressScale = 100;
constexpr int kProgressEnd = 1000;
// Far past the end of the bar, and far from overflowing when multiplied by kProgressScale.
constexpr std::int64_t kProgressTicksCeiling = std::numeric_limits<std::int64_t>::max() / 1000;

std::string ImageUnreadableMessage(const std::string& path, long error) {
    return "The firmware image \"" + path + "\" cannot be opened (error " + std::to_string(error) +
           "). F/W upgrade is not started.";
}

std::string WorkerNotStartedMessage() {
    return "The firmware transfer could not be started. F/W upgrade is not started.";
}

// The image's length as the signed 32-bit figure the size check and the free-space check use; none
// when the image cannot be opened or measured (error in *error).
std::optional<std::int32_t> MeasureImage(const std::string& path, long* error) {
    platform::File image;
    if (!image.Open(path, platform::File::Mode::ReadShared, error)) {
        return std::nullopt;
    }
    try {
        const std::uint64_t length = image.GetLength();
        // Beyond 2 GiB the length has no signed 32-bit form: such an image counts as too short.
        return length > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                   ? -1
                   : static_cast<std::int32_t>(length);
    } catch (const platform::FileError& failure) {
        *error = failure.Code();
        return std::nullopt;
    }
}

} // namespace

void UpdaterDialog::OnUpgrade() {
    // Wine delivers clicks to a disabled button, and the warning's own message loop can deliver
    // another click: neither may start a second run.
    if (upgradeRunning_ || workerStarted_ || !upgradeButton_.IsWindowEnabled()) {
        return;
    }
    struct RunningFlag {
        bool& flag;
        explicit RunningFlag(bool& running) : flag(running) { flag = true; }
        ~RunningFlag() { flag = false; } // also when the handler ends by an exception
    } running(upgradeRunning_);
    RunUpgrade();
}

void UpdaterDialog::RunUpgrade() {
    if (platform::MessageBoxA(Handle(), kUpgradeWarning, kUpdaterCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) !=
        IDOK) {
        return;
    }
    context_.status = Downloading;
    upgradeButton_.EnableWindow(false);

    const std::string imagePath = context_.firmwareImagePath.Get();
    long error = ERROR_SUCCESS;
    const std::optional<std::int32_t> imageLength = MeasureImage(imagePath, &error);
    if (!imageLength) {
        platform::MessageBoxA(Handle(), ImageUnreadableMessage(imagePath, error).c_str(), kUpdaterCaption,
                              MB_OK);
        ReturnToShowingVersion();
        return;
    }
    if (*imageLength < kMinimumImageBytes) {
        ReturnToShowingVersion();
        return;
    }

    context_.imageSize = *imageLength;
    context_.progressTicks = 1;
    platform::KillTimer(Handle(), ID_TIMER_POLL);
    platform::SetTimer(Handle(), ID_TIMER_PROGRESS, kProgressPeriodMs);
    ShowStatus(Downloading);

    const std::int32_t driveCount = CountRemovableDrives(context_);
    if (driveCount == 0) {
        // Nothing to copy to: the window goes back to following the player.
        ResumePolling();
        return;
    }
    context_.driveCount = driveCount;
    progress_.SetPos(static_cast<int>(context_.progressTicks * kProgressScale / driveCount));

    // While the worker walks the players, its own check speaks for each of them: a notice-driven
    // poll has no player of its own whose version could refuse the run and close the window. The
    // poll that follows a worker that could not start locates the player again.
    context_.deviceInfoPath.Set("");
    workerStarted_ = StartTransferWorker(context_, Handle());
    if (!workerStarted_) {
        platform::MessageBoxA(Handle(), WorkerNotStartedMessage().c_str(), kUpdaterCaption, MB_OK);
        ResumePolling();
    }
}

void UpdaterDialog::ReturnToShowingVersion() {
    context_.status = ShowingVersion;
    EnableUpgrade();
}

void UpdaterDialog::ResumePolling() {
    platform::KillTimer(Handle(), ID_TIMER_PROGRESS);
    context_.progressTicks = 0;
    progress_.SetPos(0);
    platform::SetTimer(Handle(), ID_TIMER_POLL, kPollPeriodMs);
    ReturnToShowingVersion();
    ShowStatus(ShowingVersion);
}

void UpdaterDialog::AdvanceProgress() {
    const std::int64_t ordinal = std::max<std::int64_t>(context_.currentDriveOrdinal, 1);
    const std::int64_t ticks = context_.progressTicks;
    const std::int64_t advanced =
        ticks >= kProgressTicksCeiling / ordinal - 1 ? kProgressTicksCeiling : (ticks + 1) * ordinal;
    context_.progressTicks = advanced;

    const std::int32_t driveCount = context_.driveCount;
    if (driveCount <= 0) {
        return; // no transfer has counted its drives: the bar stays where it is
    }
    progress_.SetPos(
        static_cast<int>(std::min<std::int64_t>(advanced * kProgressScale / driveCount, kProgressEnd)));
}

platform::LResult UpdaterDialog::OnProgressTimerRequest(platform::WParam request, platform::LParam) {
    if (request == kStartProgressTimer) {
        platform::SetTimer(Handle(), ID_TIMER_PROGRESS, kProgressPeriodMs);
    } else {
        platform::KillTimer(Handle(), ID_TIMER_PROGRESS);
    }
    return 0;
}

bool UpdaterDialog::IsTransferWalking() const {
    return workerStarted_ && !context_.finished;
}
