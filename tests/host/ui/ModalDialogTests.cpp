#include "OpenDialog.h"
#include "support/SimWindowsFixture.h"
#include "tests/common/ProgramTexts.h"
#include "ui/framework/ModalDialog.h"
#include "ui/resource.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace sim = platform::sim;
using platform::LParam;
using platform::LResult;
using platform::WindowHandle;
using platform::WParam;

namespace {

constexpr unsigned kThrowStd = 1;
constexpr unsigned kThrowOther = 2;
constexpr unsigned kLeaveToDefault = 3;
constexpr unsigned kAskNested = 4;

// A dialog with one entry of each kind; every handler notes what it received.
class ProbeDialog : public ModalDialog {
public:
    ProbeDialog() : ModalDialog(IDD_UPDATER_DIALOG) {}
    std::vector<std::string> calls;
    int extraControlId = 0; // a control DoDataExchange binds besides the status text
    std::string status = "probe";

protected:
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(IDC_STATUS, status);
        if (extraControlId != 0) {
            exchange.Control(extraControlId, extra_);
        }
    }
    void OnOK() override {
        calls.push_back("OnOK");
        ModalDialog::OnOK();
    }
    void OnCancel() override {
        calls.push_back("OnCancel");
        ModalDialog::OnCancel();
    }
    Outcome HandleMessage(unsigned message, WParam wParam, LParam lParam) override {
        static constexpr MessageEntry<ProbeDialog> map[] = {
            MapSysCommand<&ProbeDialog::OnSysCommand>(),
            MapPaint<&ProbeDialog::OnPaint>(),
            MapQueryDragIcon<&ProbeDialog::OnQueryDragIcon>(),
            MapTimer<&ProbeDialog::OnTimer>(),
            MapDeviceChange<&ProbeDialog::OnDeviceChange>(),
            MapCommand<IDC_UPGRADE, BN_CLICKED, &ProbeDialog::OnUpgrade>(),
        };
        return Dispatch(*this, map, message, wParam, lParam);
    }

private:
    void OnSysCommand(unsigned id, LParam param) {
        calls.push_back("OnSysCommand " + std::to_string(id) + " " + std::to_string(param));
    }
    void OnPaint() { calls.push_back("OnPaint"); }
    platform::IconHandle OnQueryDragIcon() {
        calls.push_back("OnQueryDragIcon");
        return reinterpret_cast<platform::IconHandle>(std::uintptr_t{0x4321});
    }
    void OnTimer(std::uintptr_t id) {
        calls.push_back("OnTimer " + std::to_string(id));
        if (id == kThrowStd) {
            throw std::runtime_error("The file could not be opened.");
        }
        if (id == kThrowOther) {
            throw 7;
        }
        if (id == kLeaveToDefault) {
            Default();
        }
        if (id == kAskNested) {
            platform::MessageBoxA(Handle(), "nested?", "Q", MB_OK);
        }
    }
    LResult OnDeviceChange(WParam event, LParam data) {
        calls.push_back("OnDeviceChange " + std::to_string(event) + " " + std::to_string(data));
        return event == 0x8004 ? Default() : 5;
    }
    void OnUpgrade() { calls.push_back("OnUpgrade"); }

    Static extra_;
};

constexpr WParam Command(int id, unsigned code) {
    return static_cast<WParam>(id) | (WParam{code} << 16);
}

class ModalDialogTest : public SimWindowsTest {
protected:
    LResult Send(unsigned message, WParam wParam, LParam lParam) {
        return ModalDialog::Procedure(window_, message, wParam, lParam);
    }
    ProbeDialog dialog_;
    WindowHandle window_ = nullptr;
};

TEST_F(ModalDialogTest, EachMessageReachesItsTypedHandlerAndTheDispatcherAnswers) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(dialog_.Handle(), window_);
    const struct {
        unsigned message;
        WParam wParam;
        LParam lParam;
        const char* call; // empty: no handler may run
        LResult answer;
    } cases[] = {
        {WM_SYSCOMMAND, 0xF012, 9, "OnSysCommand 61458 9", 1},
        {WM_PAINT, 0, 0, "OnPaint", 1},
        {WM_QUERYDRAGICON, 0, 0, "OnQueryDragIcon", 0x4321},
        {WM_TIMER, 32001, 0, "OnTimer 32001", 1},
        {WM_TIMER, kLeaveToDefault, 0, "OnTimer 3", 0},
        {WM_DEVICECHANGE, 0x8000, 77, "OnDeviceChange 32768 77", 1},
        {WM_DEVICECHANGE, 0x8004, 78, "OnDeviceChange 32772 78", 0},
        {WM_COMMAND, Command(IDC_UPGRADE, BN_CLICKED), 0, "OnUpgrade", 1},
        {WM_COMMAND, Command(IDC_UPGRADE, 5), 0, "", 0},
        {WM_COMMAND, Command(IDC_STATUS, BN_CLICKED), 0, "", 0},
        {WM_APP, 0, 0, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        dialog_.calls.clear();
        EXPECT_EQ(Send(c.message, c.wParam, c.lParam), c.answer);
        const auto expected = *c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{};
        EXPECT_EQ(dialog_.calls, expected);
    }
}

TEST_F(ModalDialogTest, HandlersAnswerReachesTheSenderThroughTheMessageResult) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    EXPECT_EQ(platform::SendMessageA(window_, WM_DEVICECHANGE, 0x8000, 77), 5);
    EXPECT_EQ(platform::GetWindowLongPtrA(window_, DWLP_MSGRESULT), 5);
    EXPECT_EQ(platform::SendMessageA(window_, WM_QUERYDRAGICON, 0, 0), 0x4321) << "answered directly";
    EXPECT_EQ(platform::SendMessageA(window_, WM_TIMER, 32001, 0), 0)
        << "a handler without an answer gives 0";
    EXPECT_EQ(platform::GetWindowLongPtrA(window_, DWLP_USER), reinterpret_cast<LParam>(&dialog_));
}

TEST_F(ModalDialogTest, OkAndCancelCommandsGoToTheirVirtuals) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    EXPECT_EQ(Send(WM_COMMAND, Command(IDOK, BN_CLICKED), 0), 1);
    EXPECT_EQ(sim::Inspect(window_).result, IDOK);
    EXPECT_EQ(Send(WM_COMMAND, Command(IDCANCEL, 1), 0), 1) << "an accelerator's notification";
    EXPECT_EQ(sim::Inspect(window_).result, IDCANCEL);
    EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"OnOK", "OnCancel"}));
}

TEST_F(ModalDialogTest, MessagesBeforeInitDialogGetTheDefaultAnswer) {
    const auto stranger = reinterpret_cast<WindowHandle>(std::uintptr_t{0x999990});
    for (const unsigned message : {WM_TIMER, WM_QUERYDRAGICON, WM_COMMAND, WM_PAINT}) {
        EXPECT_EQ(ModalDialog::Procedure(stranger, message, kThrowStd, 0), 0);
    }
    EXPECT_TRUE(dialog_.calls.empty());
    EXPECT_EQ(dialog_.Handle(), nullptr);
}

TEST_F(ModalDialogTest, InitDialogStoresTheObjectAndPushesMembersToControls) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    EXPECT_EQ(sim::Inspect(platform::GetDlgItem(window_, IDC_STATUS)).text, "probe");
    platform::SetDlgItemTextA(window_, IDC_STATUS, "typed");
    platform::SendMessageA(window_, WM_TIMER, 32001, 0);
    EXPECT_EQ(dialog_.calls, std::vector<std::string>{"OnTimer 32001"}) << "reached through the real window";
}

TEST_F(ModalDialogTest, ExceptionsStopAtTheProcedureAndAreShownWithTheApplicationsCaption) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    EXPECT_EQ(Send(WM_TIMER, kThrowStd, 0), 0);
    EXPECT_EQ(Send(WM_TIMER, kThrowOther, 0), 0);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "The file could not be opened.");
    EXPECT_EQ(boxes[0].caption, kProgramName);
    EXPECT_EQ(boxes[0].owner, window_);
    EXPECT_EQ(boxes[0].type & 0xF, MB_OK);
    EXPECT_EQ(boxes[1].text, "An unexpected error stopped this operation.");
    EXPECT_EQ(boxes[1].caption, kProgramName);
    dialog_.calls.clear();
    EXPECT_EQ(Send(WM_TIMER, 32001, 0), 1) << "the dialog carries on";
    EXPECT_EQ(dialog_.calls, std::vector<std::string>{"OnTimer 32001"});
    EXPECT_FALSE(sim::Inspect(window_).result);
}

TEST_F(ModalDialogTest, MissingControlInDataExchangeIsReportedNotFatal) {
    dialog_.extraControlId = 4242;
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("4242"), std::string::npos);
}

TEST_F(ModalDialogTest, DefaultInANestedMessageDoesNotLeakIntoTheOuterOne) {
    window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
    LResult nested = -1;
    sim::ScriptMessageBoxes({{IDOK, 0, [&] { nested = Send(WM_TIMER, kLeaveToDefault, 0); }}});
    EXPECT_EQ(Send(WM_TIMER, kAskNested, 0), 1);
    EXPECT_EQ(nested, 0);
}

} // namespace
