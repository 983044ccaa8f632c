#include "DiscoveryFixture.h"
#include "discovery/VersionPolicy.h"
#include "tests/common/ProgramTexts.h"
#include "ui/WindowRequestMessage.h"

#include <string>
#include <vector>

namespace {

using platform::sim::ShownMessageBox;

class DeviceVersionTest : public DiscoveryTest {
protected:
    void SetUp() override {
        DiscoveryTest::SetUp();
        MapDrive('E');
    }
    // Puts the player's file on E: and locates it there, as the previous poll would have.
    void Player(std::string_view bytes, const std::string& name = "sys_conf.qtx") {
        PutFile('E', name, bytes);
        ctx.deviceInfoPath.Set("E:\\" + name);
    }
    std::string Label(int id) {
        return platform::sim::Inspect(platform::GetDlgItem(ctx.mainDialog, id)).text;
    }
    // What the window was asked to do, in order, once the posted messages are delivered.
    std::vector<std::string> Requests() {
        platform::sim::PumpMessages();
        std::vector<std::string> requests;
        for (const auto& message : platform::sim::DeliveredMessages()) {
            if (message.window != ctx.mainDialog.load()) {
                continue;
            }
            if (message.message == WM_WINDOW_REQUEST &&
                message.wParam == static_cast<platform::WParam>(WindowRequest::StopPolling)) {
                requests.push_back("stop polling");
            } else if (message.message == WM_COMMAND && message.wParam == IDCANCEL && message.lParam == 0) {
                requests.push_back("IDCANCEL");
            } else if (message.message == WM_COMMAND || message.message == WM_WINDOW_REQUEST) {
                requests.push_back("other");
            }
        }
        return requests;
    }
    void ExpectRefusal(const std::string& text) {
        const std::vector<ShownMessageBox> boxes = platform::sim::ShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, kMessageCaption);
        EXPECT_EQ(boxes[0].type, MB_OK);
        EXPECT_EQ(boxes[0].owner, ctx.mainDialog.load());
        EXPECT_EQ(Requests(), (std::vector<std::string>{"stop polling", "IDCANCEL"}));
        EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::Refused);
    }
    void ExpectNoRefusal() {
        EXPECT_TRUE(platform::sim::ShownMessageBoxes().empty());
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::Closed);
    }
};

TEST_F(DeviceVersionTest, NewerOfferIsShownAndChosen) {
    Player("1.1.5E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(Label(IDC_CURRENT_VERSION), "Current version:    1.1.5E");
    EXPECT_EQ(Label(IDC_TARGET_VERSION), "Upgrade to version: 1.1.6E");
    EXPECT_EQ(ctx.firmwareImagePath.Get(), ImagePath(1));
    EXPECT_EQ(ctx.targetVersionText.Get(), "1.1.6E");
    EXPECT_EQ(ctx.deviceVersionText.Get(), "1.1.5E");
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, DowngradeIsRefused) {
    Player("1.1.8E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(Label(IDC_CURRENT_VERSION), "Current version:    1.1.8E")
        << "the labels are set whatever the outcome";
    ExpectRefusal(DowngradeText("1.1.8E"));
}

TEST_F(DeviceVersionTest, ARefusalAfterTheRunEndedLeavesTheRunsOutcome) {
    ctx.runOutcome = RunOutcome::NoPlayerUpgraded;
    Player("1.1.8E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::NoPlayerUpgraded);
}

TEST_F(DeviceVersionTest, OtherLanguageIsRefused) {
    ctx.imagePairs[0].version = "1.1.6K";
    Player("1.1.5E");
    ReadDeviceVersion(ctx);
    ExpectRefusal("Firmware language is not equal");
}

TEST_F(DeviceVersionTest, ShortFileEndingInALineBreakFailsTheLanguageCheck) {
    Player("1.1.5E\r\n");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), "1.1.5E\r\n");
    ExpectRefusal("Firmware language is not equal");
}

TEST_F(DeviceVersionTest, TaggedUtf16FilePicksItsLine) {
    Player(Utf16("<cert><firmver>2.0.1E</firmver><vendor>Qtx Labs</vendor></cert>"), "DEVCERT.DAT");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), "2.0.1E");
    EXPECT_EQ(ctx.firmwareImagePath.Get(), ImagePath(2));
    EXPECT_EQ(Label(IDC_TARGET_VERSION), "Upgrade to version: 2.0.2E");
    EXPECT_FALSE(ctx.deviceText.Get().empty()) << "the loaded text is kept in the context";
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, UnknownLineKeepsTheEarlierChoice) {
    Player("1.1.5E");
    ReadDeviceVersion(ctx);
    Player("0.9.9E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.firmwareImagePath.Get(), ImagePath(1));
    EXPECT_EQ(ctx.targetVersionText.Get(), "1.1.6E");
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, EmptyVersionBeforeAnyChoiceIsALanguageMismatch) {
    Player("");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.firmwareImagePath.Get(), "");
    EXPECT_EQ(Label(IDC_TARGET_VERSION), "Upgrade to version: 0.0");
    ExpectRefusal("Firmware language is not equal");
}

TEST_F(DeviceVersionTest, NothingHappensWithoutAReadableFile) {
    const std::string before = Label(IDC_CURRENT_VERSION);
    ctx.deviceInfoPath.Set("E:\\sys_conf.qtx"); // located, then gone
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), " ");
    EXPECT_EQ(Label(IDC_CURRENT_VERSION), before);
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, NothingIsReadWhileTheWorkerWalksThePlayers) {
    Player("1.1.8E"); // would be refused
    ctx.transferPhase = TransferPhase::Walking;
    const std::string before = Label(IDC_CURRENT_VERSION);
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), " ");
    EXPECT_EQ(Label(IDC_CURRENT_VERSION), before);
    ExpectNoRefusal();
}

} // namespace
