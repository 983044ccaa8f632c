#include "DiscoveryFixture.h"
#include "discovery/VersionPolicy.h"
#include "tests/common/ProgramTexts.h"

#include <string>
#include <vector>

namespace {

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
    // The version lines last asked for.
    std::string VersionLines() const {
        const std::vector<std::string> lines = window_->Of("version lines");
        return lines.empty() ? "" : "version lines: " + lines.back();
    }
    void ExpectRefusal(const std::string& text) {
        const std::vector<std::string> requests = window_->Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back(), "refuse run: " + text);
        EXPECT_EQ(window_->Texts().size(), 1u) << "one box";
        EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::Refused);
    }
    void ExpectNoRefusal() {
        EXPECT_TRUE(window_->Texts().empty());
        EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::Closed);
    }
};

TEST_F(DeviceVersionTest, NewerOfferIsShownAndChosen) {
    Player("1.1.5E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(window_->Requests(), (std::vector<std::string>{"version lines: 1.1.5E | 1.1.6E"}));
    EXPECT_EQ(ctx.firmwareImagePath.Get(), ImagePath(1));
    EXPECT_EQ(ctx.targetVersionText.Get(), "1.1.6E");
    EXPECT_EQ(ctx.deviceVersionText.Get(), "1.1.5E");
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, DowngradeIsRefused) {
    Player("1.1.8E");
    ReadDeviceVersion(ctx);
    EXPECT_EQ(window_->Requests().front(), "version lines: 1.1.8E | 1.1.6E")
        << "the lines are filled whatever the outcome, before the refusal";
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
    EXPECT_EQ(VersionLines(), "version lines: 2.0.1E | 2.0.2E");
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
    EXPECT_EQ(VersionLines(), "version lines:  | 0.0");
    ExpectRefusal("Firmware language is not equal");
}

TEST_F(DeviceVersionTest, NothingHappensWithoutAReadableFile) {
    ctx.deviceInfoPath.Set("E:\\sys_conf.qtx"); // located, then gone
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), " ");
    EXPECT_TRUE(window_->Requests().empty());
    ExpectNoRefusal();
}

TEST_F(DeviceVersionTest, NothingIsReadWhileTheWorkerWalksThePlayers) {
    Player("1.1.8E"); // would be refused
    ctx.transferPhase = TransferPhase::Walking;
    ReadDeviceVersion(ctx);
    EXPECT_EQ(ctx.deviceVersionText.Get(), " ");
    EXPECT_TRUE(window_->Requests().empty());
    ExpectNoRefusal();
}

} // namespace
