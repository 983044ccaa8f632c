#pragma once
// What the transfer worker works from: the context, what it asks of the window, and the image
// chosen when the upgrade was confirmed. The worker keeps to that choice even if a poll chooses
// again meanwhile.
#include "app/UpdaterContext.h"

#include <memory>

struct TransferJob {
    UpdaterContext* context = nullptr;      // outlives the worker
    std::shared_ptr<WindowRequests> window; // the worker's share: still there after the window has gone
    ImagePair chosen;                       // the image to copy and the version it carries
};

// On the user-interface thread, when the worker is about to start: the context's window requests
// and its chosen image (firmwareImagePath with targetVersionText, read together under the shared lock).
TransferJob MakeTransferJob(UpdaterContext& context);
