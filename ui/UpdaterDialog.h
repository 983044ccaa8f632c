#pragma once
// The updater's one window: the modal dialog with the logo or the two version lines, the upgrade
// button, the progress bar and the status line.
#include "app/UpdaterContext.h"
#include "ui/LiveRegions.h"
#include "ui/framework/Controls.h"
#include "ui/framework/ModalDialog.h"

#include <string>

inline constexpr char kUpdaterWindowTitle[] = "Tolvo Firmware Updater";
// The progress bar runs from 0 to this.
inline constexpr unsigned short kProgressBarEnd = 1000;

class UpdaterDialog : public ModalDialog {
public:
    // The context outlives the dialog. The dialog installs its side of the window's requests in
    // context.window before the window opens, and publishes the window in context.mainDialog.
    explicit UpdaterDialog(UpdaterContext& context);

    // Shows statusMessages[code], followed by the player's version while the status is
    // ShowingVersion; a code outside the table shows an empty line. A screen reader is told when
    // the line says something new, not at each turn of an alternation.
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
    // Moved to a monitor of another scale: the suggested rectangle, and the logo drawn for the DPI.
    platform::LResult OnDpiChanged(platform::WParam dpi, platform::LParam suggested);
    platform::LResult OnFitLogo(platform::WParam dpi, platform::LParam);
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
    void PrepareToClose();

    // The window's parts, each switched in one place.
    void SetPolling(bool on);
    void SetProgressTimer(bool on);
    // The progress timer stopped, the bar and its counter back at 0.
    void StopProgress();
    enum class TopView { Logo, VersionLines };
    void ShowTopView(TopView view);
    void EnableUpgrade();
    // Moves the focus to EXIT first when the button has it: a disabled control keeps no focus, and
    // the keyboard would reach nothing in the window.
    void DisableUpgrade();
    // Puts the logo drawn for `dpi`, fitted to the logo's frame, into the logo control; at 100 %
    // the template's own picture, at its own size.
    void FitLogoToDpi(unsigned dpi);
    // Tells a screen reader the version lines when they show versions it has not heard since they
    // last appeared.
    void AnnounceNewVersionLines();
    std::string VersionLinesText() const;

    Static logo_;
    platform::OwnedBitmap loadedLogo_; // outlives the window, which only borrows it
    Static targetVersion_;
    Static currentVersion_;
    Button upgradeButton_;
    ProgressBar progress_;
    std::string statusText_;
    platform::IconHandle icon_;

    LiveRegions liveRegions_;
    UpdaterStatus heardStatus_ = NotReady; // what a screen reader was last told the status is
    std::string placeholderVersionLines_;  // the template's, never announced
    std::string heardVersionLines_;        // empty while the logo is shown

    UpdaterContext& context_;
};

// Runs the updater dialog until it closes, then clears context.mainDialog.
void RunUpdaterWindow(UpdaterContext& context);
