#include "app/WindowRequests.h"

#include "platform/Window.h"
#include "ui/WindowRequestMessage.h"
#include "ui/resource.h"

namespace {

void Request(platform::WindowHandle window, WindowRequest request) {
    platform::SendMessageA(window, WM_WINDOW_REQUEST, static_cast<platform::WParam>(request), 0);
}

} // namespace

void ShowMessage(platform::WindowHandle window, const std::string& text) {
    platform::MessageBoxA(window, text.c_str(), kUpdaterCaption, MB_OK);
}

void ShowSystemMessage(platform::WindowHandle window, const std::string& text) {
    platform::MessageBoxA(window, text.c_str(), platform::ApplicationName().c_str(), MB_OK);
}

void ShowVersionLines(platform::WindowHandle window, const std::string& installed,
                      const std::string& offered) {
    platform::SetDlgItemTextA(window, IDC_CURRENT_VERSION, ("Current version:    " + installed).c_str());
    platform::SetDlgItemTextA(window, IDC_TARGET_VERSION, ("Upgrade to version: " + offered).c_str());
}

void RefuseRun(platform::WindowHandle window, const std::string& why) {
    Request(window, WindowRequest::StopPolling);
    ShowMessage(window, why);
    EndRun(window);
}

void ShowMessageWithProgressHeld(platform::WindowHandle window, const std::string& text) {
    Request(window, WindowRequest::HoldProgress);
    ShowMessage(window, text);
    Request(window, WindowRequest::ResumeProgress);
}

void StopProgress(platform::WindowHandle window) {
    Request(window, WindowRequest::StopProgress);
}

void EndRun(platform::WindowHandle window) {
    platform::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
}
