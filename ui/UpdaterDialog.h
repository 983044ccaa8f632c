#pragma once
// The updater's one window: the modal dialog with the logo or the two version lines, the upgrade
// button, the progress bar and the status line.
#include "app/UpdaterContext.h"
#include "ui/framework/Controls.h"
#include "ui/framework/ModalDialog.h"

#include <string>

class UpdaterDialog : public ModalDialog {
public:
    // The context outlives the dialog; the dialog publishes its window in context.mainDialog.
    explicit UpdaterDialog(UpdaterContext& context);

    // Shows statusMessages[code], followed by the player's version while the status is
    // ShowingVersion; a code outside the table shows an empty line.
    void ShowStatus(UpdaterStatus code);

protected:
    void DoDataExchange(DataExchange& exchange) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    Outcome HandleMessage(unsigned message, platform::WParam wParam, platform::LParam lParam) override;

private:
    void OnSysCommand(unsigned id, platform::LParam param);
    void OnPaint();
    platform::IconHandle OnQueryDragIcon();

    void OnTimer(std::uintptr_t id);
    platform::LResult OnDeviceChange(platform::WParam event, platform::LParam data);
    void OnUpgrade();
    // The transfer worker's request to start or stop the progress timer, on this window's thread.
    platform::LResult OnProgressTimerRequest(platform::WParam request, platform::LParam);

    // Follows the player: presence, drive, status line, button and top area.
    void PollDevice();
    void EnableUpgrade();
    void ShowLogoView();
    // Puts the logo drawn for the window's DPI, fitted to the logo's frame, into the logo control,
    // unless the template's own picture is the one for that DPI.
    void FitLogoToDpi();
    void ShowVersionView();

    // The upgrade after the checks against a second run: warning, image, timers, drives, worker.
    void RunUpgrade();
    void ReturnToShowingVersion();
    // Back from progress to polling when no transfer could start.
    void ResumePolling();
    void AdvanceProgress();
    bool IsTransferWalking() const;
    // What both ways of closing do before the dialog ends.
    void ReleaseDeviceTextAndStopPolling();

    Static logo_;
    platform::OwnedBitmap scaledLogo_; // outlives the window, which only borrows it
    Static targetVersion_;
    Static currentVersion_;
    Button upgradeButton_;
    ProgressBar progress_;
    std::string statusText_;
    platform::IconHandle icon_;

    bool upgradeRunning_ = false; // inside OnUpgrade, whose warning runs a message loop
    bool workerStarted_ = false;  // a transfer worker has been started in this run

    UpdaterContext& context_;
};

// Runs the updater dialog until it closes, then clears context.mainDialog.
void RunUpdaterWindow(UpdaterContext& context);
