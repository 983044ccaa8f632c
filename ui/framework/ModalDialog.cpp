#include "ui/framework/ModalDialog.h"

#include <exception>

namespace {

// Messages whose answer the dialog procedure returns itself; the others' answer goes in
// DWLP_MSGRESULT and the procedure returns only whether it handled them.
bool AnswersDirectly(unsigned message) {
    return message == WM_QUERYDRAGICON;
}

bool IsCommandFrom(int id, platform::WParam wParam) {
    // Notification 0 comes from a button or a menu, 1 from an accelerator.
    return static_cast<int>(wParam & 0xFFFF) == id && ((wParam >> 16) & 0xFFFF) <= 1;
}

} // namespace

platform::LResult ModalDialog::DoModal() {
    const platform::LResult result = platform::DialogBoxParamA(templateId_, owner_, &ModalDialog::Procedure,
                                                               reinterpret_cast<platform::LParam>(this));
    window_ = nullptr;
    return result;
}

platform::LResult ModalDialog::Procedure(platform::WindowHandle window, unsigned message,
                                         platform::WParam wParam, platform::LParam lParam) {
    if (message == WM_INITDIALOG) {
        platform::SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<ModalDialog*>(lParam)->window_ = window;
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(platform::GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) {
        return 0;
    }
    try {
        return dialog->Route(message, wParam, lParam);
    } catch (const std::exception& error) {
        dialog->ReportException(error.what());
    } catch (...) {
        dialog->ReportException("An unexpected error stopped this operation.");
    }
    return 0;
}

platform::LResult ModalDialog::Route(unsigned message, platform::WParam wParam, platform::LParam lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog() ? 1 : 0;
    }
    // Handlers may show boxes whose loops route messages of their own: keep the outer flag.
    struct FlagScope {
        bool& flag;
        bool outer;
        explicit FlagScope(bool& f) : flag(f), outer(f) { flag = false; }
        ~FlagScope() { flag = outer; }
    } scope(leftToDefault_);

    Outcome outcome = HandleMessage(message, wParam, lParam);
    if (!outcome.handled && message == WM_COMMAND) {
        if (IsCommandFrom(IDOK, wParam)) {
            OnOK();
            outcome = {true, 0};
        } else if (IsCommandFrom(IDCANCEL, wParam)) {
            OnCancel();
            outcome = {true, 0};
        }
    }
    if (!outcome.handled || leftToDefault_) {
        return 0;
    }
    if (AnswersDirectly(message)) {
        return outcome.value;
    }
    platform::SetWindowLongPtrA(window_, DWLP_MSGRESULT, outcome.value);
    return 1;
}

void ModalDialog::ReportException(const char* what) const noexcept {
    try {
        platform::MessageBoxA(window_, what, platform::ApplicationName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Nothing is left to tell the user with; the dialog carries on.
    }
}

bool ModalDialog::OnInitDialog() {
    UpdateData();
    return true;
}

platform::LResult ModalDialog::Default() {
    leftToDefault_ = true;
    return 0;
}

void ModalDialog::UpdateData() {
    DataExchange exchange(window_);
    DoDataExchange(exchange);
}

void ModalDialog::EndDialog(platform::LResult result) const {
    platform::EndDialog(window_, result);
}

void ModalDialog::GotoDlgCtrl(int id) const {
    const platform::WindowHandle control = platform::GetDlgItem(window_, id);
    platform::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<platform::WParam>(control), 1);
}
