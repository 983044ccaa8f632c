#include "PlayerWindowFixture.h"

#include "support/CallFaults.h"
#include "transfer/SafeCopy.h"

#include <fstream>
#include <iterator>

namespace sim = platform::sim;

namespace {

constexpr char kWarning[] = "If you continue the firmware update, your content stored on the \n"
                            "Tolvo r5xx player will be deleted. You should backup your content\n"
                            " before performing the firmware update. Click OK to continue the \n"
                            "firmware update process. Click Cancel to exit the firmware update program.";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UpgradeCommandTest : public PlayerWindowTest {
protected:
    // A held worker owns its job: let it run its course.
    void TearDown() override {
        sim::ReleaseHeldThreads();
        sim::WaitForThreads();
        PlayerWindowTest::TearDown();
    }
    // A player on E: whose version has been read, so its line-1 image is chosen.
    void OpenWithPlayerShowingItsVersion(std::size_t imageBytes = 60000) {
        MakeImage(1, imageBytes);
        PlugPlayer();
        Open(); // its first poll finds the player: Ready
        Poll(); // reads the version
        ASSERT_EQ(context_.status.load(), ShowingVersion);
    }
    void ClickUpgrade(int answer = IDOK) { ClickUpgradeAnsweredAfter(answer, 0); }
    // The warning stays up for `milliseconds` of the clock before it is answered.
    void ClickUpgradeAnsweredAfter(int answer, unsigned milliseconds) {
        sim::ScriptMessageBoxes({{answer, milliseconds}});
        sim::Click(window_, IDC_UPGRADE);
    }
    std::size_t BoxCount() const { return sim::ShownMessageBoxes().size(); }
    bool PollTimerRuns() const { return sim::TimerPeriod(window_, ID_TIMER_POLL).has_value(); }
    bool ProgressTimerRuns() const { return sim::TimerPeriod(window_, ID_TIMER_PROGRESS).has_value(); }
};

TEST_F(UpgradeCommandTest, WarningHasItsTextCaptionButtonsAndIconAndCancelChangesNothing) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    ClickUpgrade(IDCANCEL);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kWarning);
    EXPECT_EQ(boxes[0].caption, "Tolvo r5xx Firmware Updater");
    EXPECT_EQ(boxes[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[0].owner, window_);
    EXPECT_EQ(context_.status.load(), ShowingVersion);
    EXPECT_TRUE(UpgradeEnabled());
    EXPECT_TRUE(PollTimerRuns());
    EXPECT_FALSE(ProgressTimerRuns());
    EXPECT_EQ(sim::ThreadsStarted(), 0);
}

TEST_F(UpgradeCommandTest, ImageOfFiftyThousandBytesIsSentAndOneByteLessIsNot) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion(49999);
    ClickUpgrade();
    EXPECT_EQ(BoxCount(), 1u) << "a short image goes back without a message";
    EXPECT_EQ(context_.status.load(), ShowingVersion);
    EXPECT_TRUE(UpgradeEnabled());
    EXPECT_TRUE(PollTimerRuns());
    EXPECT_FALSE(ProgressTimerRuns());
    EXPECT_EQ(sim::ThreadsStarted(), 0);

    MakeImage(1, 50000);
    ClickUpgrade();
    EXPECT_EQ(context_.status.load(), Downloading);
    EXPECT_EQ(Status(), "Downloading");
    EXPECT_FALSE(UpgradeEnabled());
    EXPECT_FALSE(PollTimerRuns());
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_PROGRESS), 50u);
    EXPECT_EQ(context_.imageSize.load(), 50000);
    EXPECT_EQ(context_.driveCount.load(), 1);
    EXPECT_EQ(sim::ThreadsStarted(), 1);
}

TEST_F(UpgradeCommandTest, OneDriveStartsAtOneHundredAndReachesTheEndAfterNineTicks) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    ClickUpgrade();
    EXPECT_EQ(ProgressPosition(), 100);
    for (int tick = 1; tick <= 9; ++tick) {
        sim::AdvanceTime(kProgressPeriodMs);
        EXPECT_EQ(ProgressPosition(), 100 + 100 * tick) << "tick " << tick;
    }
    sim::AdvanceTime(10 * kProgressPeriodMs);
    EXPECT_EQ(ProgressPosition(), 1000);
}

TEST_F(UpgradeCommandTest, TwoDrivesStartAtFiftyAndMoveFiftyPerTick) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    MapRemovable('F');
    ClickUpgrade();
    EXPECT_EQ(context_.driveCount.load(), 2);
    EXPECT_EQ(ProgressPosition(), 50);
    for (int tick = 1; tick <= 5; ++tick) {
        sim::AdvanceTime(kProgressPeriodMs);
        EXPECT_EQ(ProgressPosition(), 50 + 50 * tick);
    }
}

TEST_F(UpgradeCommandTest, CounterFromTheSecondDriveOnGrowsWithoutWrapping) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    MapRemovable('F');
    ClickUpgrade();
    context_.currentDriveOrdinal = 2;
    std::int64_t previous = context_.progressTicks;
    for (int tick = 0; tick < 200; ++tick) {
        sim::AdvanceTime(kProgressPeriodMs);
        const std::int64_t ticks = context_.progressTicks;
        ASSERT_GE(ticks, previous) << "tick " << tick;
        previous = ticks;
        ASSERT_EQ(ProgressPosition(), tick == 0 ? 200 : tick == 1 ? 500 : 1000) << "tick " << tick;
    }
}

TEST_F(UpgradeCommandTest, ProgressTickBeforeAnyDriveCountLeavesTheBarAlone) {
    Open();
    platform::SetTimer(window_, ID_TIMER_PROGRESS, kProgressPeriodMs);
    sim::AdvanceTime(3 * kProgressPeriodMs);
    EXPECT_EQ(context_.driveCount.load(), 0);
    EXPECT_EQ(ProgressPosition(), 0);
}

TEST_F(UpgradeCommandTest, ImageThatCannotBeOpenedIsNamedAndTheWindowGoesBackToTheVersion) {
    for (const bool chosen : {false, true}) {
        sim::HoldThreads();
        PlugPlayer();
        Open();
        if (chosen) {
            Poll(); // line 1 chosen, but its image file was never made
        } else {
            context_.status = ShowingVersion; // no line chosen: the image path is empty
        }
        ClickUpgrade();
        const auto boxes = sim::ShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        const std::string path = chosen ? ImagePath(1) : "";
        EXPECT_NE(boxes[1].text.find("\"" + path + "\" cannot be opened"), std::string::npos)
            << boxes[1].text;
        EXPECT_EQ(boxes[1].caption, "Tolvo r5xx Firmware Updater");
        EXPECT_EQ(boxes[1].type, MB_OK);
        EXPECT_EQ(context_.status.load(), ShowingVersion);
        EXPECT_TRUE(UpgradeEnabled());
        EXPECT_TRUE(PollTimerRuns());
        EXPECT_FALSE(ProgressTimerRuns());
        EXPECT_EQ(sim::ThreadsStarted(), 0);
        TearDown();
        SetUp();
    }
}

TEST_F(UpgradeCommandTest, PollTicksGoOnWhileTheWarningIsUpAndOkStillStartsTheRun) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    const std::size_t before = sim::DeliveredMessages().size();
    ClickUpgradeAnsweredAfter(IDOK, 2 * kPollPeriodMs);
    std::size_t pollTicks = 0;
    const auto delivered = sim::DeliveredMessages();
    for (std::size_t i = before; i < delivered.size(); ++i) {
        pollTicks += delivered[i].message == WM_TIMER && delivered[i].wParam == ID_TIMER_POLL;
    }
    EXPECT_EQ(pollTicks, 2u) << "the warning's own loop delivers the poll timer";
    EXPECT_EQ(context_.status.load(), Downloading);
    EXPECT_EQ(sim::ThreadsStarted(), 1);
}

TEST_F(UpgradeCommandTest, NoRemovableDriveAtTheClickStopsTheProgressAndResumesPolling) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    sim::ScriptMessageBoxes({{IDOK, 0, [this] { UnplugAll(); }}});
    sim::Click(window_, IDC_UPGRADE);
    EXPECT_FALSE(ProgressTimerRuns());
    EXPECT_TRUE(PollTimerRuns());
    EXPECT_EQ(context_.status.load(), ShowingVersion);
    EXPECT_EQ(Status(), "Tolvo r5xx Firmware version : 1.1.5E");
    EXPECT_EQ(sim::ThreadsStarted(), 0);
    Poll();
    EXPECT_EQ(Status(), "Not Ready") << "the window follows the player again";
}

TEST_F(UpgradeCommandTest, NoSecondWorkerFromAClickWhileOneRunsOrOnADisabledButton) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    ClickUpgrade();
    ASSERT_EQ(sim::ThreadsStarted(), 1);
    sim::Click(window_, IDC_UPGRADE); // disabled, but delivered as under Wine
    platform::EnableWindow(Control(IDC_UPGRADE), true);
    sim::Click(window_, IDC_UPGRADE); // enabled again, as a notice-driven poll can do
    EXPECT_EQ(BoxCount(), 1u) << "no second warning";
    EXPECT_EQ(sim::ThreadsStarted(), 1);
}

TEST_F(UpgradeCommandTest, ClickWhileTheWarningIsUpStartsNothingOfItsOwn) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    // Delivered by the warning's own loop.
    platform::PostMessageA(Control(IDC_UPGRADE), sim::kButtonClick, 0, 0);
    ClickUpgrade();
    EXPECT_EQ(BoxCount(), 1u);
    EXPECT_EQ(sim::ThreadsStarted(), 1);
}

TEST_F(UpgradeCommandTest, WholeRunCopiesTheImageReportsSuccessAndCloses) {
    OpenWithPlayerShowingItsVersion(3 * kCopyBufferBytes + 17);
    ClickUpgrade();
    ASSERT_TRUE(sim::PumpUntil([this] { return sim::Inspect(window_).result.has_value(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadFile(Folder('E') / kTargetFileName), ReadFile(ImagePath(1)));
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find("successfully downloaded"), std::string::npos);
    EXPECT_TRUE(context_.finished);
    EXPECT_EQ(sim::Inspect(window_).result, IDCANCEL);
    EXPECT_FALSE(ProgressTimerRuns());
}

TEST_F(UpgradeCommandTest, WholeRunOnARealWorkerThread) {
    OpenWithPlayerShowingItsVersion(5 * kCopyBufferBytes);
    MapRemovable('F');
    ClickUpgrade();
    // A notice meanwhile re-reads the version on this thread while the worker walks the table.
    VolumeNotice(DBT_DEVICEARRIVAL);
    ASSERT_TRUE(sim::PumpUntil([this] { return sim::Inspect(window_).result.has_value(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadFile(Folder('E') / kTargetFileName), ReadFile(ImagePath(1)));
    EXPECT_FALSE(std::filesystem::exists(Folder('F') / kTargetFileName));
    EXPECT_TRUE(context_.finished);
    EXPECT_EQ(context_.status.load(), Finished);
}

TEST_F(UpgradeCommandTest, WhileASlowPlayerCopiesTheBarMovesAndANoticeLeavesTheWalkAlone) {
    OpenWithPlayerShowingItsVersion(5 * kCopyBufferBytes);
    const auto slow = SlowPlayer('E', std::chrono::milliseconds(25));
    ClickUpgrade();
    sim::AdvanceTime(3 * kProgressPeriodMs);
    EXPECT_EQ(ProgressPosition(), 400) << "three ticks while the worker is still on its drive";
    VolumeNotice(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(context_.finished.load()) << "the player is slow enough for the notice to meet the walk";
    EXPECT_EQ(context_.status.load(), Downloading);
    EXPECT_FALSE(UpgradeEnabled());
    ASSERT_TRUE(sim::PumpUntil([this] { return sim::Inspect(window_).result.has_value(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadFile(Folder('E') / kTargetFileName), ReadFile(ImagePath(1)));
}

TEST_F(UpgradeCommandTest,
       AnImageHeldByAnotherProgramIsNamedAtTheClickAndTheNextClickAfterItsReleaseUpgrades) {
    OpenWithPlayerShowingItsVersion();
    {
        const auto held = HeldByAnotherProgram(ImagePath(1));
        ClickUpgrade();
        ASSERT_EQ(BoxCount(), 2u);
        EXPECT_EQ(sim::ShownMessageBoxes()[1].text,
                  "The firmware image \"" + ImagePath(1) +
                      "\" cannot be opened (error 32). F/W upgrade is not started.");
        EXPECT_EQ(sim::ThreadsStarted(), 0);
        EXPECT_FALSE(std::filesystem::exists(Folder('E') / kTargetFileName));
        EXPECT_TRUE(UpgradeEnabled());
    } // the other program lets go of the image
    ClickUpgrade();
    ASSERT_TRUE(sim::PumpUntil([this] { return sim::Inspect(window_).result.has_value(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadFile(Folder('E') / kTargetFileName), ReadFile(ImagePath(1)));
    EXPECT_NE(sim::ShownMessageBoxes().back().text.find("successfully downloaded"), std::string::npos);
    EXPECT_EQ(sim::Inspect(window_).result, IDCANCEL);
}

} // namespace
