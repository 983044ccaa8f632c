#include "transfer/TransferWorker.h"

#include "discovery/DriveLocator.h"
#include "discovery/VersionFile.h"
#include "platform/Errors.h"
#include "platform/Process.h"
#include "platform/Volumes.h"
#include "transfer/PassingHold.h"
#include "transfer/PlayerCheck.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferMessages.h"

#include <memory>
#include <optional>
#include <string>

namespace {

// Checks, measures and copies onto one player; true when it received the image.
bool ServePlayer(const TransferJob& job, const LocatedPlayer& player) {
    const char letter = player.letter;
    const std::optional<std::string> installed = ReadInstalledVersion(player.filePath);
    if (const auto refusal = RefusalFor(job, installed)) {
        job.window->ShowMessageWithProgressHeld(RefusalMessage(letter, *refusal, job.chosen.version));
        return false;
    }
    // A copy stopped half-way left its temporary file: it must not count against the free space.
    DeletePlayerFile(PathInDriveRoot(letter, kTemporaryFileName));
    const std::string root = PathInDriveRoot(letter, "");
    std::uint64_t freeBytes = 0;
    if (!platform::GetDiskFreeSpaceExA(root.c_str(), nullptr, nullptr, &freeBytes)) {
        job.window->ShowMessageWithProgressHeld(FreeSpaceUnknownMessage(letter, platform::GetLastError()));
        return false;
    }
    const std::int32_t imageSize = job.context->imageSize.load();
    if (freeBytes < static_cast<std::uint64_t>(imageSize < 0 ? 0 : imageSize)) {
        job.window->ShowMessageWithProgressHeld(DiskFullMessage(letter));
        return false;
    }
    // The letter may have come to hold another device since the check.
    const auto stillTheCheckedPlayer = [&] { return ReadInstalledVersion(player.filePath) == installed; };
    const CopyOutcome outcome = CopyImageToDrive(job, letter, stillTheCheckedPlayer);
    if (!outcome.Succeeded()) {
        job.window->ShowMessageWithProgressHeld(CopyFailureMessage(letter, outcome));
        return false;
    }
    return true;
}

void WalkPlayers(const TransferJob& job, bool& anyPlayerUpdated) {
    UpdaterContext& ctx = *job.context;
    for (std::int32_t i = 0; i < ctx.driveCount.load(); ++i) {
        ctx.currentDriveOrdinal = i + 1;
        if (const auto player = FindPlayerDrive(ctx, ctx.driveCount.load())) {
            anyPlayerUpdated = ServePlayer(job, *player) || anyPlayerUpdated;
        }
    }
}

} // namespace

void TransferWorker(void* argument) {
    const std::unique_ptr<TransferJob> job(static_cast<TransferJob*>(argument));
    bool anyPlayerUpdated = false;
    try {
        WalkPlayers(*job, anyPlayerUpdated);
    } catch (...) {
        // Only running out of memory gets here; the run still ends as every run does.
    }
    FinishTransfer(*job, anyPlayerUpdated);
}

bool StartTransferWorker(UpdaterContext& context) {
    auto job = std::make_unique<TransferJob>(MakeTransferJob(context));
    if (!platform::BeginThread(TransferWorker, job.get())) {
        return false;
    }
    job.release(); // the worker owns it now
    return true;
}

void FinishTransfer(const TransferJob& job, bool anyPlayerUpdated) {
    UpdaterContext& ctx = *job.context;
    ctx.runOutcome = anyPlayerUpdated ? RunOutcome::Upgraded : RunOutcome::NoPlayerUpgraded;
    job.window->StopProgress();
    job.window->ShowMessage(anyPlayerUpdated ? kCompletionMessage : kNoPlayerUpdatedMessage);
    ctx.transferPhase = TransferPhase::Ended;
    ctx.status = Finished;
    job.window->EndRun();
}
