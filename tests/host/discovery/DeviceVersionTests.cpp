#include "DiscoveryFixture.h"
#include "discovery/DeviceVersion.h"
#include "tests/common/ProgramTexts.h"
#include "ui/TimerIds.h"

#include <string>
#include <vector>

namespace {

using platform::sim::ShownMessageBox;

class DeviceVersionTest : public DiscoveryTest {
protected:
    void SetUp() override {
        DiscoveryTest::SetUp();
        MapDrive('E');
        platform::SetTimer(ctx.mainDialog, ID_TIMER_POLL, kPollPeriodMs);
    }
    // Puts the player's file on E: and locates it there, as the previous poll would have.
    void Player(std::string_view bytes, const std::string& name = "sys_conf.qtx") {
        PutFile('E', name, bytes);
        ctx.deviceInfoPath.Set("E:\\" + name);
    }
    std::string Label(int id) {
        return platform::sim::Inspect(platform::GetDlgItem(ctx.mainDialog, id)).text;
    }
    bool PollTimerRuns() { return platform::sim::TimerPeriod(ctx.mainDialog, ID_TIMER_POLL).has_value(); }
    // WM_COMMAND messages that reached the dialog once the posted ones are delivered.
    std::vector<platform::WParam> CommandsDelivered() {
        platform::sim::PumpMessages();
        std::vector<platform::WParam> commands;
        for (const auto& message : platform::sim::DeliveredMessages()) {
            if (message.window == ctx.mainDialog && message.message == WM_COMMAND) {
                commands.push_back(message.wParam);
                EXPECT_EQ(message.lParam, 0);
            }
        }
        return commands;
    }
    void ExpectRefusal(const std::string& text) {
        const std::vector<ShownMessageBox> boxes = platform::sim::ShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, kMessageCaption);
        EXPECT_EQ(boxes[0].type, MB_OK);
        EXPECT_EQ(boxes[0].owner, ctx.mainDialog.load());
        EXPECT_FALSE(PollTimerRuns());
        EXPECT_EQ(CommandsDelivered(), std::vector<platform::WParam>{IDCANCEL});
    }
    void ExpectNoRefusal() {
        EXPECT_TRUE(platform::sim::ShownMessageBoxes().empty());
        EXPECT_TRUE(PollTimerRuns());
        EXPECT_TRUE(CommandsDelivered().empty());
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

TEST_F(DeviceVersionTest, ContextFormsLoadAndExtractThroughTheContext) {
    Player(std::string("<firmver>3.0.4K</firmver>"));
    ASSERT_TRUE(LoadDeviceTextWide(ctx)) << "the 8-bit file loads as UTF-16 too";
    ExtractTaggedVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), "3.0.4K") << "found by the 8-bit fallback";
    ASSERT_TRUE(LoadDeviceTextNarrow(ctx));
    EXPECT_EQ(ctx.deviceText.Get().size(), 26u);
}

} // namespace
