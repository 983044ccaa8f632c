#pragma once
// The worker thread that copies the chosen image onto every attached player, one drive per
// iteration of ctx.driveCount, and then ends the run.
#include "transfer/TransferJob.h"

// Thread procedure. `argument` is a TransferJob made with new, which the worker owns and deletes.
// Reaches the window only through the job's window requests, with the progress bar held still
// while a player's problem is shown; never holds the context's lock across one. Lets no exception out.
void TransferWorker(void* argument);

// Starts TransferWorker on MakeTransferJob(context); false when no thread could be started.
bool StartTransferWorker(UpdaterContext& context);

// Ends the run: stops the progress for good, shows the completion message (or, when no player
// received the image, that none did), marks the run finished and closes the window.
void FinishTransfer(const TransferJob& job, bool anyPlayerUpdated);
