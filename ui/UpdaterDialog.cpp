#include "ui/UpdaterDialog.h"

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

} // namespace

UpdaterDialog::UpdaterDialog(UpdaterContext& context)
    : ModalDialog(IDD_UPDATER_DIALOG), icon_(platform::LoadIconA(IDI_MAIN)), context_(context) {}

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

    FitLogoToDpi();
    ShowTopView(TopView::Logo);

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
    targetVersion_.ShowWindow(versions ? SW_SHOW : SW_HIDE);
    currentVersion_.ShowWindow(versions ? SW_SHOW : SW_HIDE);
    logo_.ShowWindow(versions ? SW_HIDE : SW_SHOW);
}

void UpdaterDialog::EnableUpgrade() {
    upgradeButton_.EnableWindow(true);
    upgradeButton_.SetFocus();
}

void UpdaterDialog::FitLogoToDpi() {
    const int bitmap = LogoBitmapForDpi(platform::GetDpiForWindow(Handle()));
    if (bitmap == IDB_LOGO) {
        return; // the template's own picture
    }
    // Dialog units do not grow in step with the DPI (font sizes round), so the drawn logo is
    // stretched the last few pixels to the frame.
    platform::Rect frame = kLogoFrame;
    if (!platform::MapDialogRect(Handle(), &frame)) {
        return;
    }
    scaledLogo_.reset(
        platform::LoadImageA(bitmap, IMAGE_BITMAP, frame.right - frame.left, frame.bottom - frame.top));
    if (scaledLogo_) {
        logo_.SetBitmap(scaledLogo_.get());
    }
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
    ReleaseDeviceTextAndStopPolling();
    ModalDialog::OnOK();
}

void UpdaterDialog::OnCancel() {
    ReleaseDeviceTextAndStopPolling();
    ModalDialog::OnCancel();
}

void UpdaterDialog::ReleaseDeviceTextAndStopPolling() {
    context_.deviceText.Set(DeviceText{});
    SetPolling(false);
}

void RunUpdaterWindow(UpdaterContext& context) {
    UpdaterDialog dialog(context);
    dialog.DoModal();
    // The window is gone; a worker still running must not reach a stale handle.
    context.mainDialog = nullptr;
}
