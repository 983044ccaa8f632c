#include "ui/framework/ModalDialog.h"

#include <exception>
#include <map>
#include <mutex>

namespace {

std::mutex registryLock;
std::map<platform::WindowHandle, ModalDialog*>& Registry() {
    static std::map<platform::WindowHandle, ModalDialog*> dialogs;
    return dialogs;
}

ModalDialog* Lookup(platform::WindowHandle window) {
    std::lock_guard hold(registryLock);
    const auto found = Registry().find(window);
    return found == Registry().end() ? nullptr : found->second;
}

void Register(platform::WindowHandle window, ModalDialog* dialog) {
    std::lock_guard hold(registryLock);
    if (dialog != nullptr) {
        Registry()[window] = dialog;
    } else {
        Registry().erase(window);
    }
}

// Messages whose answer the dialog procedure returns itself; for the others it returns only
// whether it handled them.
bool AnswersDirectly(unsigned message) {
    return message == WM_QUERYDRAGICON;
}

bool IsCommandFrom(int id, platform::WParam wParam) {
    // Notification 0 comes from a button or a menu, 1 from an accelerator.
    return static_cast<int>(wParam & 0xFFFF) == id && ((wParam >> 16) & 0xFFFF) <= 1;
}

} // namespace

ModalDialog::~ModalDialog() {
    if (window_ != nullptr) {
        Register(window_, nullptr);
    }
}

platform::LResult ModalDialog::DoModal() {
    const platform::LResult result = platform::DialogBoxParamA(templateId_, owner_, &ModalDialog::Procedure,
                                                               reinterpret_cast<platform::LParam>(this));
    if (window_ != nullptr) {
        Register(window_, nullptr);
        window_ = nullptr;
    }
    return result;
}

platform::LResult ModalDialog::Procedure(platform::WindowHandle window, unsigned message,
                                         platform::WParam wParam, platform::LParam lParam) {
    ModalDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<ModalDialog*>(lParam);
        dialog->window_ = window;
        Register(window, dialog);
    } else {
        dialog = Lookup(window);
    }
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
    return AnswersDirectly(message) ? outcome.value : 1;
}

void ModalDialog::ReportException(const char* what) const noexcept {
    try {
        platform::MessageBoxA(window_, what, platform::ApplicationName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Nothing is left to tell the user with; the dialog carries on.
    }
}

bool ModalDialog::OnInitDialog() {
    return UpdateData(false);
}

platform::LResult ModalDialog::Default() {
    leftToDefault_ = true;
    return 0;
}

bool ModalDialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(window_, saveAndValidate);
    DoDataExchange(exchange);
    return true;
}

void ModalDialog::EndDialog(platform::LResult result) const {
    platform::EndDialog(window_, result);
}
