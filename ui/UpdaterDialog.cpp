#include "ui/UpdaterDialog.h"

#include "ui/DialogRequests.h"
#include "ui/IconPlacement.h"
#include "ui/LogoScale.h"
#include "ui/TimerIds.h"
#include "ui/WindowRequestMessage.h"
#include "ui/resource.h"

namespace {

constexpr const char* kExitQuestion =
    "Are you sure you want to exit the Tolvo r500 Series firmware update?\n"
    "Click \"Yes\" to exit the upgrade program. Click \"No\" to resume the upgrade process.";
constexpr const char* kExitCaption = "Cancellation Confirmation";

// Posted by the DPI change to itself, so the logo is fitted once the dialog manager has laid the
// controls out for the new DPI.
constexpr unsigned WM_FIT_LOGO = WM_APP + 2;

// The statuses heard as one: neither alternation is news.
UpdaterStatus HeardAs(UpdaterStatus code) {
    switch (code) {
    case ShowingVersion:
        return Ready;
    case Reconnect:
        return CommError;
    default:
        return code;
    }
}

} // namespace

UpdaterDialog::UpdaterDialog(UpdaterContext& context)
    : ModalDialog(IDD_UPDATER_DIALOG), icon_(platform::LoadIconA(IDI_MAIN)), context_(context) {
    context_.window = MakeDialogRequests(context_);
}

ModalDialog::Outcome UpdaterDialog::HandleMessage(unsigned message, platform::WParam wParam,
                                                  platform::LParam lParam) {
    static constexpr MessageEntry<UpdaterDialog> messageMap[] = {
        MapSysCommand<&UpdaterDialog::OnSysCommand>(),
        MapPaint<&UpdaterDialog::OnPaint>(),
        MapQueryDragIcon<&UpdaterDialog::OnQueryDragIcon>(),
        MapTimer<&UpdaterDialog::OnTimer>(),
        MapCommand<IDC_UPGRADE, BN_CLICKED, &UpdaterDialog::OnUpgrade>(),
        MapDeviceChange<&UpdaterDialog::OnDeviceChange>(),
        MapMessage<WM_WINDOW_REQUEST, &UpdaterDialog::OnWindowRequest>(),
        MapMessage<WM_DPICHANGED, &UpdaterDialog::OnDpiChanged>(),
        MapMessage<WM_FIT_LOGO, &UpdaterDialog::OnFitLogo>(),
    };
    return Dispatch(*this, messageMap, message, wParam, lParam);
}

void UpdaterDialog::DoDataExchange(DataExchange& exchange) {
    exchange.Control(IDC_LOGO, logo_);
    exchange.Control(IDC_TARGET_VERSION, targetVersion_);
    exchange.Control(IDC_CURRENT_VERSION, currentVersion_);
    exchange.Control(IDC_UPGRADE, upgradeButton_);
    exchange.Control(IDC_PROGRESS, progress_);
    exchange.Text(IDC_STATUS, statusText_);
}

void UpdaterDialog::ShowStatus(UpdaterStatus code) {
    statusText_ = code >= 0 && static_cast<std::size_t>(code) < statusMessages.size()
                      ? std::string(statusMessages[static_cast<std::size_t>(code)])
                      : std::string();
    if (context_.status == ShowingVersion) {
        statusText_ += context_.deviceVersionText.Get();
    }
    UpdateData();
    if (HeardAs(code) != heardStatus_) {
        heardStatus_ = HeardAs(code);
        LiveRegions::Announce(platform::GetDlgItem(Handle(), IDC_STATUS));
    }
}

bool UpdaterDialog::OnInitDialog() {
    context_.mainDialog = Handle();
    ModalDialog::OnInitDialog();

    const platform::MenuHandle systemMenu = platform::GetSystemMenu(Handle(), false);
    const std::string aboutItem = platform::LoadStringA(IDS_ABOUT_MENU);
    if (systemMenu != nullptr && !aboutItem.empty()) {
        platform::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        platform::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, aboutItem.c_str());
    }

    const auto icon = reinterpret_cast<platform::LParam>(icon_);
    platform::SendMessageA(Handle(), WM_SETICON, ICON_BIG, icon);
    platform::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, icon);

    upgradeButton_.SetFocus();
    progress_.SetRange(0, kProgressBarEnd);

    FitLogoToDpi(platform::GetDpiForWindow(Handle()));
    ShowTopView(TopView::Logo);

    liveRegions_.Mark(
        {platform::GetDlgItem(Handle(), IDC_STATUS), currentVersion_.Handle(), targetVersion_.Handle()});
    placeholderVersionLines_ = VersionLinesText();

    PollDevice();

    platform::SetWindowTextA(Handle(), kUpdaterWindowTitle);
    SetPolling(true);
    return true;
}

platform::LResult UpdaterDialog::OnWindowRequest(platform::WParam request, platform::LParam) {
    switch (static_cast<WindowRequest>(request)) {
    case WindowRequest::StopPolling:
        SetPolling(false);
        break;
    case WindowRequest::HoldProgress:
        SetProgressTimer(false);
        break;
    case WindowRequest::ResumeProgress:
        SetProgressTimer(true);
        break;
    case WindowRequest::StopProgress:
        StopProgress();
        break;
    }
    return 0;
}

void UpdaterDialog::SetPolling(bool on) {
    if (on) {
        platform::SetTimer(Handle(), ID_TIMER_POLL, kPollPeriodMs);
    } else {
        platform::KillTimer(Handle(), ID_TIMER_POLL);
    }
}

void UpdaterDialog::SetProgressTimer(bool on) {
    if (on) {
        platform::SetTimer(Handle(), ID_TIMER_PROGRESS, kProgressPeriodMs);
    } else {
        platform::KillTimer(Handle(), ID_TIMER_PROGRESS);
    }
}

void UpdaterDialog::StopProgress() {
    SetProgressTimer(false);
    context_.progressTicks = 0;
    progress_.SetPos(0);
}

void UpdaterDialog::ShowTopView(TopView view) {
    const bool versions = view == TopView::VersionLines;
    if (!versions) {
        heardVersionLines_.clear(); // heard again when they come back
    }
    targetVersion_.ShowWindow(versions ? SW_SHOW : SW_HIDE);
    currentVersion_.ShowWindow(versions ? SW_SHOW : SW_HIDE);
    logo_.ShowWindow(versions ? SW_HIDE : SW_SHOW);
}

void UpdaterDialog::EnableUpgrade() {
    upgradeButton_.EnableWindow(true);
    upgradeButton_.SetFocus();
}

void UpdaterDialog::DisableUpgrade() {
    if (platform::GetFocus() == upgradeButton_.Handle()) {
        GotoDlgCtrl(IDOK);
    }
    upgradeButton_.EnableWindow(false);
}

void UpdaterDialog::FitLogoToDpi(unsigned dpi) {
    const int bitmap = LogoBitmapForDpi(dpi);
    if (bitmap == IDB_LOGO && !loadedLogo_) {
        return; // the template's own picture is shown
    }
    // Dialog units do not grow in step with the DPI (font sizes round), so the drawn logo is
    // stretched the last few pixels to the frame.
    platform::Rect frame = kLogoFrame;
    if (!platform::MapDialogRect(Handle(), &frame)) {
        return;
    }
    const bool ownSize = bitmap == IDB_LOGO;
    platform::OwnedBitmap picture(platform::LoadImageA(bitmap, IMAGE_BITMAP,
                                                       ownSize ? 0 : frame.right - frame.left,
                                                       ownSize ? 0 : frame.bottom - frame.top));
    if (picture) {
        logo_.SetBitmap(picture.get());
        loadedLogo_ = std::move(picture); // the control no longer shows the one it replaces
    }
}

platform::LResult UpdaterDialog::OnDpiChanged(platform::WParam dpi, platform::LParam suggested) {
    const auto& rect = *reinterpret_cast<const platform::Rect*>(suggested);
    platform::SetWindowPos(Handle(), nullptr, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    platform::PostMessageA(Handle(), WM_FIT_LOGO, (dpi >> 16) & 0xFFFF, 0);
    // The dialog manager lays the controls and their font out for the new DPI.
    return Default();
}

platform::LResult UpdaterDialog::OnFitLogo(platform::WParam dpi, platform::LParam) {
    FitLogoToDpi(static_cast<unsigned>(dpi));
    return 0;
}

std::string UpdaterDialog::VersionLinesText() const {
    return platform::GetDlgItemTextA(Handle(), IDC_CURRENT_VERSION) + '\n' +
           platform::GetDlgItemTextA(Handle(), IDC_TARGET_VERSION);
}

void UpdaterDialog::AnnounceNewVersionLines() {
    const std::string lines = VersionLinesText();
    if (lines == heardVersionLines_ || lines == placeholderVersionLines_) {
        return;
    }
    heardVersionLines_ = lines;
    LiveRegions::Announce(currentVersion_.Handle());
    LiveRegions::Announce(targetVersion_.Handle());
}

void UpdaterDialog::OnSysCommand(unsigned id, platform::LParam) {
    if ((id & 0xFFF0) == IDM_ABOUT) {
        ModalDialog about(IDD_ABOUT_DIALOG, Handle());
        about.DoModal();
    } else {
        Default();
    }
}

void UpdaterDialog::OnPaint() {
    if (!platform::IsIconic(Handle())) {
        Default();
        return;
    }
    platform::PaintScope paint(Handle());
    platform::SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<platform::WParam>(paint.Context()),
                           0);
    const IconOrigin at =
        CentredIcon(platform::GetClientRect(Handle()), platform::GetSystemMetrics(SM_CXICON),
                    platform::GetSystemMetrics(SM_CYICON));
    platform::DrawIcon(paint.Context(), at.x, at.y, icon_);
}

platform::IconHandle UpdaterDialog::OnQueryDragIcon() {
    return icon_;
}

void UpdaterDialog::OnOK() {
    if (context_.transferPhase != TransferPhase::Ended &&
        platform::MessageBoxA(Handle(), kExitQuestion, kExitCaption, MB_YESNO) != IDYES) {
        return;
    }
    PrepareToClose();
    ModalDialog::OnOK();
}

void UpdaterDialog::OnCancel() {
    PrepareToClose();
    ModalDialog::OnCancel();
}

void UpdaterDialog::PrepareToClose() {
    context_.deviceText.Set(DeviceText{});
    SetPolling(false);
    liveRegions_.Clear();
}

void RunUpdaterWindow(UpdaterContext& context) {
    UpdaterDialog dialog(context);
    dialog.DoModal();
    // The window is gone; a worker still running must not reach a stale handle.
    context.mainDialog = nullptr;
}
