// The device poll: keeps the status line, the upgrade button and the top of the window in step
// with the player, on the set-up, every poll tick and each volume notice.
#include "discovery/DeviceScan.h"
#include "discovery/DriveLocator.h"
#include "platform/Process.h"
#include "platform/WindowMessages.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"

namespace {
// Lets the volume settle before it is looked at.
constexpr unsigned kVolumeSettleMs = 1000;
} // namespace

void UpdaterDialog::PollDevice() {
    if (!ScanForDevice(context_)) {
        context_.status = NotReady;
        context_.progressTicks = 0;
        // The focus moves first: a screen reader's word on it would cut the status short.
        DisableUpgrade();
        ShowStatus(NotReady);
        ShowTopView(TopView::Logo);
        return;
    }
    // From the confirmation on, the drive table is the upgrade's; the worker walks it until it has
    // finished, and the poll leaves it alone.
    if (TransferUnderWay(context_.transferPhase)) {
        return;
    }

    const std::int32_t driveCount = CountRemovableDrives(context_);
    const std::optional<LocatedPlayer> player = FindPlayerDrive(context_, driveCount);
    if (!player) {
        context_.status = context_.status == CommError ? Reconnect : CommError;
        DisableUpgrade();
        ShowStatus(context_.status);
        ShowTopView(TopView::Logo);
        return;
    }
    // The next poll reads the version from the file that identified the player.
    context_.deviceInfoPath.Set(player->filePath);

    switch (context_.status) {
    case Finished:
        EnableUpgrade();
        ShowStatus(Finished);
        break;
    case Ready:
        context_.status = ShowingVersion;
        ShowStatus(ShowingVersion);
        EnableUpgrade();
        break;
    default:
        context_.status = Ready;
        ShowStatus(Ready);
        EnableUpgrade();
        break;
    }
    ShowTopView(TopView::VersionLines);
    AnnounceNewVersionLines();
}

void UpdaterDialog::OnTimer(std::uintptr_t id) {
    if (id == ID_TIMER_POLL) {
        PollDevice();
    } else if (id == ID_TIMER_PROGRESS) {
        AdvanceProgress();
    }
    Default();
}

platform::LResult UpdaterDialog::OnDeviceChange(platform::WParam event, platform::LParam data) {
    if ((event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) &&
        platform::IsPlainVolumeNotice(data)) {
        platform::Sleep(kVolumeSettleMs);
        PollDevice();
    }
    return Default();
}
