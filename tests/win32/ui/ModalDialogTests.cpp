#include "RunningDialog.h"
#include "tests/common/ProgramTexts.h"
#include "ui/framework/ModalDialog.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// The About template run by the framework; its handlers note what reached them.
class ProbeDialog : public ModalDialog {
public:
    ProbeDialog() : ModalDialog(IDD_ABOUT_DIALOG) {}
    std::vector<std::string> calls;
    platform::WindowHandle handleInTimer = nullptr;

protected:
    void OnCancel() override {
        calls.push_back("OnCancel");
        ModalDialog::OnCancel();
    }
    Outcome HandleMessage(unsigned message, platform::WParam wParam, platform::LParam lParam) override {
        static constexpr MessageEntry<ProbeDialog> map[] = {MapTimer<&ProbeDialog::OnTimer>()};
        return Dispatch(*this, map, message, wParam, lParam);
    }

private:
    void OnTimer(std::uintptr_t id) {
        calls.push_back("OnTimer " + std::to_string(id));
        handleInTimer = Handle();
    }
};

TEST(ModalDialog, DoModalReturnsTheEndResultAndForgetsTheWindow) {
    ProbeDialog dialog;
    HWND window = nullptr;
    // Drives the dialog from outside while DoModal runs its loop on this thread.
    std::thread driver([&window] {
        if (WaitFor([&window] {
                return (window = FindDialog([](HWND w) { return TextOf(w) == kAboutCaption; }));
            })) {
            SendMessageA(window, WM_TIMER, 32001, 0);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    });
    const platform::LResult result = dialog.DoModal();
    driver.join();
    ASSERT_NE(window, nullptr) << "the dialog never came up";
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"OnTimer 32001", "OnCancel"}));
    EXPECT_EQ(dialog.handleInTimer, reinterpret_cast<platform::WindowHandle>(window));
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
