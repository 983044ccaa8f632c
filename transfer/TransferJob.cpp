#include "transfer/TransferJob.h"

#include <mutex>

TransferJob MakeTransferJob(UpdaterContext& context) {
    TransferJob job{&context, context.window, {}};
    std::lock_guard hold(context.sharedLock);
    job.chosen = {context.firmwareImagePath.Get(), context.targetVersionText.Get()};
    return job;
}
