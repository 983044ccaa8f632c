#pragma once
// The installed firmware version of the attached player: read on every poll that sees a player,
// shown in the window, and checked against the offer of its firmware line.
#include "app/UpdaterContext.h"

inline constexpr char kUpdaterCaption[] = "Tolvo r5xx Firmware Updater";

// Reads ctx.deviceInfoPath (located by the previous poll) in whichever form it has, sets
// ctx.deviceVersionText and applies the policy. Silent when no file is located or it cannot be read.
void ReadDeviceVersion(UpdaterContext& ctx);

// The context forms of the file loads: ctx.deviceInfoPath into ctx.deviceText.
bool LoadDeviceTextWide(UpdaterContext& ctx);
bool LoadDeviceTextNarrow(UpdaterContext& ctx);
// Sets ctx.deviceVersionText from ctx.deviceText, falling back to the 8-bit reading.
void ExtractTaggedVersion(UpdaterContext& ctx);

// Chooses the image of the installed firmware line, fills the two version labels of
// ctx.mainDialog, and on a downgrade or a language mismatch stops the poll timer, says why and
// posts IDCANCEL to the dialog.
void ApplyVersionPolicy(UpdaterContext& ctx);
