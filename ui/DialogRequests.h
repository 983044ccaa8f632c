#pragma once
// The window's side of what discovery and the transfer worker ask of it, and the updater's own
// message box, which the upgrade command and the entry show too.
#include "app/UpdaterContext.h"
#include "app/WindowRequests.h"
#include "platform/Types.h"

#include <string>

// The caption of the updater's own messages.
inline constexpr char kUpdaterCaption[] = "Tolvo r5xx Firmware Updater";

// `text` with the updater's caption and an OK button, owned by `owner` (none: a box of its own).
void ShowUpdaterMessage(platform::WindowHandle owner, const std::string& text);

// Reaches the dialog through context.mainDialog, which is set while the window is open and
// cleared once it has gone.
class DialogRequests final : public WindowRequests {
public:
    explicit DialogRequests(const UpdaterContext& context) : context_(context) {}

    void ShowSystemMessage(const std::string& text) override;
    void ShowVersionLines(const std::string& installed, const std::string& offered) override;
    void RefuseRun(const std::string& why) override;
    void ShowMessage(const std::string& text) override;
    void ShowMessageWithProgressHeld(const std::string& text) override;
    void StopProgress() override;
    void EndRun() override;

private:
    const UpdaterContext& context_; // outlives every share of this object
};
