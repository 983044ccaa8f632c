#pragma once
// The updater's own message box, and the window's side of what discovery and the transfer worker
// ask of it.
#include "app/UpdaterContext.h"
#include "platform/Types.h"

#include <memory>
#include <string>

// The caption of the updater's own messages.
inline constexpr char kUpdaterCaption[] = "Tolvo r5xx Firmware Updater";

// `text` with the updater's caption and an OK button, owned by `owner` (none: a box of its own).
void ShowUpdaterMessage(platform::WindowHandle owner, const std::string& text);

// The requests served on the dialog that context.mainDialog names while the window is open; once
// it has gone and the handle is cleared, each returns at once. `context` outlives every share.
std::shared_ptr<WindowRequests> MakeDialogRequests(const UpdaterContext& context);
