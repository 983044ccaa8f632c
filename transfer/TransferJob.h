#pragma once
// What the transfer worker works from: the context, the dialog, and the image chosen when the
// upgrade was confirmed. The worker keeps to that choice even if a poll chooses again meanwhile.
#include "app/UpdaterContext.h"
#include "platform/Types.h"

struct TransferJob {
    UpdaterContext* context = nullptr; // outlives the worker
    platform::WindowHandle dialog = nullptr;
    ImagePair chosen; // the image to copy and the version it carries
};

// On the user-interface thread, when the worker is about to start: the chosen image of `context`
// (firmwareImagePath with targetVersionText, read together under the shared lock).
TransferJob MakeTransferJob(UpdaterContext& context, platform::WindowHandle dialog);
