#include "transfer/TransferJob.h"

#include <mutex>

TransferJob MakeTransferJob(UpdaterContext& context, platform::WindowHandle dialog) {
    TransferJob job{&context, dialog, {}};
    std::lock_guard hold(context.sharedLock);
    job.chosen = {context.firmwareImagePath.Get(), context.targetVersionText.Get()};
    return job;
}
