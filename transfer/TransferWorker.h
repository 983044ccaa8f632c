#pragma once
// The worker thread that copies the chosen image onto every attached player, one drive per
// iteration of ctx.driveCount, and then ends the run.
#include "transfer/TransferJob.h"

// Thread procedure. `argument` is a TransferJob made with new, which the worker owns and deletes.
// Reaches the dialog only by sent and posted messages and by message boxes it owns; never holds
// the context's lock across either. Lets no exception out.
void TransferWorker(void* argument);

// Starts TransferWorker on MakeTransferJob(context, dialog); false when no thread could be started.
bool StartTransferWorker(UpdaterContext& context, platform::WindowHandle dialog);

// Ends the run: resets the progress bar, stops the progress timer for good, shows the completion
// message (or, when no player received the image, that none did), marks the run finished and
// posts IDCANCEL to the dialog.
void FinishTransfer(const TransferJob& job, bool anyPlayerUpdated);
