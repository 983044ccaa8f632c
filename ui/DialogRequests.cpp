#include "ui/DialogRequests.h"

#include "platform/Window.h"
#include "ui/WindowRequestMessage.h"
#include "ui/resource.h"

namespace {

void Request(platform::WindowHandle window, WindowRequest request) {
    platform::SendMessageA(window, WM_WINDOW_REQUEST, static_cast<platform::WParam>(request), 0);
}

class DialogRequests final : public WindowRequests {
public:
    explicit DialogRequests(const UpdaterContext& context) : context_(context) {}

    void ShowSystemMessage(const std::string& text) override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            platform::MessageBoxA(window, text.c_str(), platform::ApplicationName().c_str(), MB_OK);
        }
    }
    void ShowVersionLines(const std::string& installed, const std::string& offered) override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            platform::SetDlgItemTextA(window, IDC_CURRENT_VERSION,
                                      ("Current version:    " + installed).c_str());
            platform::SetDlgItemTextA(window, IDC_TARGET_VERSION, ("Upgrade to version: " + offered).c_str());
        }
    }
    void RefuseRun(const std::string& why) override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            Request(window, WindowRequest::StopPolling);
            ShowUpdaterMessage(window, why);
            EndRun();
        }
    }
    void ShowMessage(const std::string& text) override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            ShowUpdaterMessage(window, text);
        }
    }
    void ShowMessageWithProgressHeld(const std::string& text) override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            Request(window, WindowRequest::HoldProgress);
            ShowUpdaterMessage(window, text);
            Request(window, WindowRequest::ResumeProgress);
        }
    }
    void StopProgress() override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            Request(window, WindowRequest::StopProgress);
        }
    }
    void EndRun() override {
        if (const platform::WindowHandle window = context_.mainDialog.load()) {
            platform::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    }

private:
    const UpdaterContext& context_;
};

} // namespace

void ShowUpdaterMessage(platform::WindowHandle owner, const std::string& text) {
    platform::MessageBoxA(owner, text.c_str(), kUpdaterCaption, MB_OK);
}

std::shared_ptr<WindowRequests> MakeDialogRequests(const UpdaterContext& context) {
    return std::make_shared<DialogRequests>(context);
}
