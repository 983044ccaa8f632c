#include "PlayerWindowFixture.h"

#include <iterator>

namespace {

using DevicePollTest = PlayerWindowTest;

TEST_F(DevicePollTest, WithoutPlayerTheWindowStartsNotReadyWithTheLogo) {
    Open();
    EXPECT_EQ(Status(), "Not Ready");
    EXPECT_FALSE(UpgradeEnabled());
    EXPECT_FALSE(VersionViewShown());
    EXPECT_EQ(ctx.status.load(), NotReady);
}

TEST_F(DevicePollTest, PluggedPlayerIsReadyThenShowsItsVersionAndAlternates) {
    MapEmptySlot('D'); // passed over with no word, as every poll probes it
    Open();
    PlugPlayer();
    Poll();
    EXPECT_EQ(Status(), "Ready");
    EXPECT_TRUE(UpgradeEnabled());
    EXPECT_EQ(platform::SetFocus(nullptr), Control(IDC_UPGRADE)); // reads the focus, taking it away
    EXPECT_TRUE(VersionViewShown());
    EXPECT_EQ(Text(IDC_CURRENT_VERSION), "Current version:  Searching...")
        << "no version read on the first poll";
    EXPECT_EQ(Text(IDC_TARGET_VERSION), "Upgrade to version:  Searching...");

    Poll();
    EXPECT_EQ(Status(), "Tolvo r5xx Firmware version : 1.1.5E");
    EXPECT_EQ(Text(IDC_CURRENT_VERSION), "Current version:    1.1.5E");
    EXPECT_EQ(Text(IDC_TARGET_VERSION), "Upgrade to version: 1.1.6E");
    EXPECT_EQ(ctx.firmwareImagePath.Get(), ImagePath(1));
    EXPECT_TRUE(UpgradeEnabled());

    Poll();
    EXPECT_EQ(Status(), "Ready");
    Poll();
    EXPECT_EQ(Status(), "Tolvo r5xx Firmware version : 1.1.5E");
    EXPECT_TRUE(platform::sim::ShownMessageBoxes().empty());
}

TEST_F(DevicePollTest, EnumeratedPlayerWithoutDriveAlternatesCommunicationErrorAndReconnect) {
    PlugPlayer();
    Open();
    EXPECT_EQ(Heard(), std::vector<std::string>{"Ready"}) << "a player at the start";
    Poll(); // the dialog manager gave EXIT the focus after the first one
    ASSERT_EQ(platform::GetFocus(), Control(IDC_UPGRADE));
    UnplugAll(); // its drive goes, while the system still lists the player
    Enumerate();
    for (const char* expected : {"Comunication Error!", "Reconnect!", "Comunication Error!", "Reconnect!"}) {
        Poll();
        EXPECT_EQ(Status(), expected);
        EXPECT_FALSE(UpgradeEnabled());
        EXPECT_FALSE(VersionViewShown());
        EXPECT_EQ(platform::GetFocus(), Control(IDOK)) << "moved there before the button was disabled";
    }
}

TEST_F(DevicePollTest, EveryStatusButDownloadingBecomesReadyOrShowsTheVersionWhenThePlayerIsFound) {
    struct Row {
        UpdaterStatus before;
        UpdaterStatus after;
        const char* statusLine;
    };
    const Row rows[] = {
        {NotReady, Ready, "Ready"},
        {CommError, Ready, "Ready"},
        {Reconnect, Ready, "Ready"},
        {ShowingVersion, Ready, "Ready"},
        {Ready, ShowingVersion, "Tolvo r5xx Firmware version : 1.1.5E"},
        {Finished, Finished, "Finished Press Exit button"},
    };
    PlugPlayer();
    Open();
    Poll(); // the version of the player is read from now on
    for (const Row& row : rows) {
        ctx.status = row.before;
        platform::EnableWindow(Control(IDC_UPGRADE), false);
        Poll();
        EXPECT_EQ(ctx.status.load(), row.after) << "from " << row.before;
        EXPECT_EQ(Status(), row.statusLine) << "from " << row.before;
        EXPECT_TRUE(UpgradeEnabled()) << "from " << row.before;
        EXPECT_TRUE(VersionViewShown()) << "from " << row.before;
    }
}

TEST_F(DevicePollTest, UnpluggingDuringTheIdleAlternationSetsNotReadyAndResetsTheCounter) {
    PlugPlayer();
    Open();
    Poll();
    ASSERT_EQ(platform::GetFocus(), Control(IDC_UPGRADE));
    ctx.progressTicks = 7;
    UnplugAll();
    Poll();
    EXPECT_EQ(Status(), "Not Ready");
    EXPECT_EQ(platform::GetFocus(), Control(IDOK)) << "moved there before the button was disabled";
    EXPECT_EQ(platform::sim::RaisedWinEvents().back().focus, Control(IDOK))
        << "and before the status was announced, so that the word on the focus does not cut it short";
    EXPECT_EQ(ctx.progressTicks.load(), 0);
    EXPECT_FALSE(UpgradeEnabled());
    EXPECT_FALSE(VersionViewShown());
}

TEST_F(DevicePollTest, PlainVolumeNoticesPollAfterASecondAndOthersDoNot) {
    Open();
    PlugPlayer();
    const auto before = platform::sim::Now();
    VolumeNotice(DBT_DEVICEARRIVAL, /*flags=*/1); // media in a drive
    VolumeNotice(DBT_DEVICEARRIVAL, /*flags=*/2); // a network share
    VolumeNotice(0x8001 /* DBT_DEVICEQUERYREMOVE */);
    EXPECT_EQ(platform::sim::Now(), before);
    EXPECT_EQ(Status(), "Not Ready");

    VolumeNotice(DBT_DEVICEARRIVAL);
    EXPECT_EQ(platform::sim::Now(), before + 1000);
    EXPECT_EQ(Status(), "Ready");

    UnplugAll();
    VolumeNotice(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(platform::sim::Now(), before + 2000);
    EXPECT_EQ(Status(), "Not Ready");
}

TEST_F(DevicePollTest, AScreenReaderHearsEachChangeOnceAndNeitherAlternation) {
    enum class Change { None, Plug, LoseDrive, Unplug }; // to the player, before a poll
    const std::vector<std::string> versions = {"Current version:    1.1.5E", "Upgrade to version: 1.1.6E"};
    const std::vector<std::string> readyAndVersions = {"Ready", versions[0], versions[1]};
    const struct {
        Change change;
        std::vector<std::string> heard;
    } polls[] = {
        {Change::Plug, {"Ready"}},
        {Change::None, versions},
        {Change::None, {}},
        {Change::None, {}},
        {Change::LoseDrive, {"Comunication Error!"}},
        {Change::None, {}},
        {Change::None, {}},
        {Change::Plug, readyAndVersions},
        {Change::Unplug, {"Not Ready"}},
        {Change::None, {}},
        {Change::Plug, readyAndVersions},
    };
    Open();
    EXPECT_TRUE(Heard().empty()) << "no player at the start";
    for (std::size_t poll = 0; poll < std::size(polls); ++poll) {
        if (polls[poll].change != Change::None) {
            UnplugAll();
        }
        if (polls[poll].change == Change::Plug) {
            PlugPlayer();
        } else if (polls[poll].change == Change::LoseDrive) {
            Enumerate();
        }
        Poll();
        EXPECT_EQ(Heard(), polls[poll].heard) << "poll " << poll;
    }
}

TEST_F(DevicePollTest, NoticeWhileTheUpgradeStartsRereadsTheVersionAndChangesNothingElse) {
    PlugPlayer();
    Open();
    Poll();
    ctx.status = Downloading;
    ctx.transferPhase = TransferPhase::Starting;
    platform::EnableWindow(Control(IDC_UPGRADE), false);
    const std::string statusLine = Status();
    WriteBytes(Folder('E') / kConfigFileName, "1.1.6E");

    VolumeNotice(DBT_DEVICEARRIVAL);
    EXPECT_EQ(Text(IDC_CURRENT_VERSION), "Current version:    1.1.6E") << "the version was read again";
    EXPECT_EQ(ctx.status.load(), Downloading);
    EXPECT_EQ(Status(), statusLine);
    EXPECT_FALSE(UpgradeEnabled());
}

} // namespace
