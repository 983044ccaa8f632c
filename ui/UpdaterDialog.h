#pragma once
// The updater's one window: the modal dialog with the logo or the two version lines, the upgrade
// button, the progress bar and the status line.
#include "app/UpdaterContext.h"
#include "ui/framework/Controls.h"
#include "ui/framework/ModalDialog.h"

#include <string>

inline constexpr char kUpdaterWindowTitle[] = "Tolvo Firmware Updater";
// The progress bar runs from 0 to this.
inline constexpr unsigned short kProgressBarEnd = 1000;

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
    // A request of discovery or the transfer worker (WindowRequest), on this window's thread.
    platform::LResult OnWindowRequest(platform::WParam request, platform::LParam);

    // Follows the player: presence, drive, status line, button and top area.
    void PollDevice();

    // The upgrade after the checks against a second run: warning, image, timers, drives, worker.
    void RunUpgrade();
    void ReturnToShowingVersion();
    // Back from progress to polling when no transfer could start.
    void ResumePolling();
    void AdvanceProgress();
    // What both ways of closing do before the dialog ends.
    void ReleaseDeviceTextAndStopPolling();

    // The window's parts, each switched in one place.
    void SetPolling(bool on);
    void SetProgressTimer(bool on);
    // The progress timer stopped, the bar and its counter back at 0.
    void StopProgress();
    enum class TopView { Logo, VersionLines };
    void ShowTopView(TopView view);
    void EnableUpgrade();
    // Puts the logo drawn for the window's DPI, fitted to the logo's frame, into the logo control,
    // unless the template's own picture is the one for that DPI.
    void FitLogoToDpi();

    Static logo_;
    platform::OwnedBitmap scaledLogo_; // outlives the window, which only borrows it
    Static targetVersion_;
    Static currentVersion_;
    Button upgradeButton_;
    ProgressBar progress_;
    std::string statusText_;
    platform::IconHandle icon_;

    UpdaterContext& context_;
};

// Runs the updater dialog until it closes, then clears context.mainDialog.
void RunUpdaterWindow(UpdaterContext& context);
