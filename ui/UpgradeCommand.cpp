// The Firmware Upgrade command and the timer-driven progress bar.
#include "discovery/DriveLocator.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "transfer/TransferWorker.h"
#include "ui/DialogRequests.h"
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
// Far past the end of the bar, and far from overflowing when multiplied by kProgressScale.
constexpr std::int64_t kProgressTicksCeiling = std::numeric_limits<std::int64_t>::max() / kProgressBarEnd;

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
    TransferPhase idle = TransferPhase::Idle;
    if (!upgradeButton_.IsWindowEnabled() ||
        !context_.transferPhase.compare_exchange_strong(idle, TransferPhase::Asking)) {
        return;
    }
    // A run that did not get as far as its worker is no run, also when the handler ends by an exception.
    struct IdleUnlessStarted {
        std::atomic<TransferPhase>& phase;
        ~IdleUnlessStarted() {
            for (TransferPhase unstarted : {TransferPhase::Asking, TransferPhase::Starting}) {
                phase.compare_exchange_strong(unstarted, TransferPhase::Idle);
            }
        }
    } idleUnlessStarted{context_.transferPhase};
    RunUpgrade();
}

void UpdaterDialog::RunUpgrade() {
    if (platform::MessageBoxA(Handle(), kUpgradeWarning, kUpdaterCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) !=
        IDOK) {
        return;
    }
    context_.transferPhase = TransferPhase::Starting;
    context_.status = Downloading;
    DisableUpgrade();

    const std::string imagePath = context_.firmwareImagePath.Get();
    long error = ERROR_SUCCESS;
    const std::optional<std::int32_t> imageLength = MeasureImage(imagePath, &error);
    if (!imageLength) {
        ShowUpdaterMessage(Handle(), ImageUnreadableMessage(imagePath, error));
        ReturnToShowingVersion();
        return;
    }
    if (*imageLength < kMinimumImageBytes) {
        ReturnToShowingVersion();
        return;
    }

    context_.imageSize = *imageLength;
    context_.progressTicks = 1;
    SetPolling(false);
    SetProgressTimer(true);
    ShowStatus(Downloading);

    const std::int32_t driveCount = CountRemovableDrives(context_);
    if (driveCount == 0) {
        // Nothing to copy to: the window goes back to following the player.
        ResumePolling();
        return;
    }
    context_.driveCount = driveCount;
    progress_.SetPos(static_cast<int>(context_.progressTicks * kProgressScale / driveCount));

    context_.transferPhase = TransferPhase::Walking;
    if (!StartTransferWorker(context_)) {
        context_.transferPhase = TransferPhase::Starting;
        ShowUpdaterMessage(Handle(), WorkerNotStartedMessage());
        ResumePolling();
    }
}

void UpdaterDialog::ReturnToShowingVersion() {
    context_.status = ShowingVersion;
    EnableUpgrade();
}

void UpdaterDialog::ResumePolling() {
    StopProgress();
    SetPolling(true);
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
        static_cast<int>(std::min<std::int64_t>(advanced * kProgressScale / driveCount, kProgressBarEnd)));
}
