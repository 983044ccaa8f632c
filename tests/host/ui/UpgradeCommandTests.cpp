#include "PlayerWindowFixture.h"

#include "support/CallFaults.h"
#include "support/CallGate.h"
#include "tests/common/ProgramTexts.h"
#include "transfer/SafeCopy.h"

#include <ostream>

namespace sim = platform::sim;

namespace {

constexpr char kWarning[] = "If you continue the firmware update, your content stored on the \n"
                            "Tolvo r5xx player will be deleted. You should backup your content\n"
                            " before performing the firmware update. Click OK to continue the \n"
                            "firmware update process. Click Cancel to exit the firmware update program.";

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
        ASSERT_EQ(ctx.status.load(), ShowingVersion);
    }
    void ClickUpgrade(int answer = IDOK) { ClickUpgradeAnsweredAfter(answer, 0); }
    // The warning stays up for `milliseconds` of the clock before it is answered.
    void ClickUpgradeAnsweredAfter(int answer, unsigned milliseconds) {
        sim::ScriptMessageBoxes({{answer, milliseconds}});
        sim::Click(window_, IDC_UPGRADE);
    }
    bool Ended() const { return sim::Inspect(window_).result.has_value(); }
    std::size_t BoxCount() const { return sim::ShownMessageBoxes().size(); }
    bool PollTimerRuns() const { return sim::TimerPeriod(window_, ID_TIMER_POLL).has_value(); }
    bool ProgressTimerRuns() const { return sim::TimerPeriod(window_, ID_TIMER_PROGRESS).has_value(); }

    // No run started: the window follows the player again with the upgrade offered.
    void ExpectBackToShowingTheVersion() {
        EXPECT_EQ(ctx.status.load(), ShowingVersion);
        EXPECT_TRUE(UpgradeEnabled());
        EXPECT_TRUE(PollTimerRuns());
        EXPECT_FALSE(ProgressTimerRuns());
        EXPECT_EQ(ProgressPosition(), 0);
        EXPECT_EQ(ctx.progressTicks.load(), 0);
        EXPECT_EQ(sim::ThreadsStarted(), 0);
        EXPECT_EQ(platform::GetFocus(), Control(IDC_UPGRADE));
    }
};

TEST_F(UpgradeCommandTest, WarningHasItsTextCaptionButtonsAndIcon) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    ClickUpgrade(IDCANCEL);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kWarning);
    EXPECT_EQ(boxes[0].caption, kMessageCaption);
    EXPECT_EQ(boxes[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[0].owner, window_);
}

// What makes a click start no run.
enum class NoRun {
    WarningCancelled,
    ImageOneByteShort,
    ChosenImageMissing,
    NoImageChosen,
    NoDriveLeft,
    NoThread
};

const char* Name(NoRun reason) {
    switch (reason) {
    case NoRun::WarningCancelled:
        return "WarningCancelled";
    case NoRun::ImageOneByteShort:
        return "ImageOneByteShort";
    case NoRun::ChosenImageMissing:
        return "ChosenImageMissing";
    case NoRun::NoImageChosen:
        return "NoImageChosen";
    case NoRun::NoDriveLeft:
        return "NoDriveLeft";
    case NoRun::NoThread:
        return "NoThread";
    }
    return "";
}
void PrintTo(NoRun reason, std::ostream* out) {
    *out << Name(reason);
}

class ClickThatStartsNoRun : public UpgradeCommandTest, public ::testing::WithParamInterface<NoRun> {};

TEST_P(ClickThatStartsNoRun, GoesBackToShowingTheVersion) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    std::vector<sim::BoxAnswer> warning = {{IDOK}};
    std::string whyBox; // the box after the warning, if any
    // A copy that was announced and then did not start is heard to be over.
    const std::vector<std::string> announcedAndOver = {"Downloading", "Tolvo r5xx Firmware version : 1.1.5E"};
    std::vector<std::string> heard; // by a screen reader, after the warning
    Heard();
    switch (GetParam()) {
    case NoRun::WarningCancelled:
        warning = {{IDCANCEL}};
        break;
    case NoRun::ImageOneByteShort:
        MakeImage(1, 49999);
        break;
    case NoRun::ChosenImageMissing:
        std::filesystem::remove(ImagePath(1));
        whyBox = "The firmware image \"" + ImagePath(1) +
                 "\" cannot be opened (error 2). F/W upgrade is not "
                 "started.";
        break;
    case NoRun::NoImageChosen:
        ctx.firmwareImagePath.Set("");
        whyBox = "The firmware image \"\" cannot be opened (error 3). F/W upgrade is not started.";
        break;
    case NoRun::NoDriveLeft:
        platform::SendMessageA(Control(IDC_PROGRESS), PBM_SETPOS, 300, 0); // wherever a bar stood
        warning = {{IDOK, 0, [this] { UnplugAll(); }}};
        heard = announcedAndOver;
        break;
    case NoRun::NoThread:
        sim::RefuseThreads();
        whyBox = "The firmware transfer could not be started. F/W upgrade is not started.";
        heard = announcedAndOver;
        break;
    }
    sim::ScriptMessageBoxes(warning);
    sim::Click(window_, IDC_UPGRADE);
    const auto boxes = sim::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), whyBox.empty() ? 1u : 2u);
    if (!whyBox.empty()) {
        EXPECT_EQ(boxes[1].text, whyBox);
        EXPECT_EQ(boxes[1].caption, kMessageCaption);
        EXPECT_EQ(boxes[1].type, MB_OK);
    }
    ExpectBackToShowingTheVersion();
    EXPECT_EQ(Heard(), heard);
    if (GetParam() == NoRun::NoDriveLeft) {
        EXPECT_EQ(Status(), "Tolvo r5xx Firmware version : 1.1.5E");
        Poll();
        EXPECT_EQ(Status(), "Not Ready") << "the window follows the player again";
    }
}

INSTANTIATE_TEST_SUITE_P(Each, ClickThatStartsNoRun,
                         ::testing::Values(NoRun::WarningCancelled, NoRun::ImageOneByteShort,
                                           NoRun::ChosenImageMissing, NoRun::NoImageChosen,
                                           NoRun::NoDriveLeft, NoRun::NoThread),
                         [](const ::testing::TestParamInfo<NoRun>& info) { return Name(info.param); });

TEST_F(UpgradeCommandTest, ImageOfFiftyThousandBytesStartsTheRun) {
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion(50000);
    ASSERT_EQ(platform::GetFocus(), Control(IDC_UPGRADE));
    Heard();
    ClickUpgrade();
    EXPECT_EQ(ctx.status.load(), Downloading);
    EXPECT_EQ(Status(), "Downloading");
    EXPECT_EQ(Heard(), std::vector<std::string>{"Downloading"});
    EXPECT_FALSE(UpgradeEnabled());
    EXPECT_EQ(platform::GetFocus(), Control(IDOK)) << "before the button that had it was disabled";
    EXPECT_FALSE(PollTimerRuns());
    EXPECT_EQ(sim::TimerPeriod(window_, ID_TIMER_PROGRESS), 50u);
    EXPECT_EQ(ctx.imageSize.load(), 50000);
    EXPECT_EQ(ctx.driveCount.load(), 1);
    EXPECT_EQ(sim::ThreadsStarted(), 1);
}

struct ProgressSteps {
    const char* name;
    bool secondDrive;
    int ordinal;                // of the drive the worker serves
    std::vector<int> positions; // right after the click, then after each tick
};

void PrintTo(const ProgressSteps& steps, std::ostream* out) {
    *out << steps.name;
}

class ProgressBarSteps : public UpgradeCommandTest, public ::testing::WithParamInterface<ProgressSteps> {};

TEST_P(ProgressBarSteps, StartAtOneTickAndMoveByTheDriveBeingServedWithoutWrapping) {
    const ProgressSteps& steps = GetParam();
    sim::HoldThreads();
    OpenWithPlayerShowingItsVersion();
    if (steps.secondDrive) {
        MapDrive('F');
    }
    ClickUpgrade();
    ctx.currentDriveOrdinal = steps.ordinal;
    for (std::size_t step = 0; step < steps.positions.size(); ++step) {
        if (step > 0) {
            sim::AdvanceTime(kProgressPeriodMs);
        }
        EXPECT_EQ(ProgressPosition(), steps.positions[step]) << "step " << step;
    }
    std::int64_t previous = ctx.progressTicks;
    for (int tick = 0; tick < 200; ++tick) {
        sim::AdvanceTime(kProgressPeriodMs);
        const std::int64_t ticks = ctx.progressTicks;
        ASSERT_GE(ticks, previous) << "tick " << tick;
        previous = ticks;
    }
    EXPECT_EQ(ProgressPosition(), 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Each, ProgressBarSteps,
    ::testing::Values(
        ProgressSteps{"OneDrive", false, 1, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1000}},
        ProgressSteps{"TwoDrivesTheFirstServed", true, 1, {50, 100, 150, 200, 250, 300}},
        ProgressSteps{"TwoDrivesTheSecondServed", true, 2, {50, 200, 500, 1000, 1000}}),
    [](const ::testing::TestParamInfo<ProgressSteps>& info) { return std::string(info.param.name); });

TEST_F(UpgradeCommandTest, ProgressTickBeforeAnyDriveCountLeavesTheBarAlone) {
    Open();
    platform::SetTimer(window_, ID_TIMER_PROGRESS, kProgressPeriodMs);
    sim::AdvanceTime(3 * kProgressPeriodMs);
    EXPECT_EQ(ctx.driveCount.load(), 0);
    EXPECT_EQ(ProgressPosition(), 0);
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
    EXPECT_EQ(ctx.status.load(), Downloading);
    EXPECT_EQ(sim::ThreadsStarted(), 1);
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

TEST_F(UpgradeCommandTest, WhileThePlayerIsBeingWrittenTheBarMovesAndANoticeLeavesTheWalkAlone) {
    OpenWithPlayerShowingItsVersion(5 * kCopyBufferBytes);
    // The worker's first write to the player waits until the test opens the gate.
    CallGate writing(
        [](const sim::Call& call) { return call.kind == sim::CallKind::Write && call.drive == 'E'; });
    ClickUpgrade();
    ASSERT_TRUE(sim::PumpUntil([&] { return writing.Reached(); }));
    sim::AdvanceTime(3 * kProgressPeriodMs);
    EXPECT_EQ(ProgressPosition(), 400) << "three ticks while the worker is on its drive";
    VolumeNotice(DBT_DEVICEARRIVAL);
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Walking);
    EXPECT_EQ(ctx.status.load(), Downloading);
    EXPECT_FALSE(UpgradeEnabled());
    writing.Open();
    ASSERT_TRUE(sim::PumpUntil([this] { return Ended(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadBytes(Folder('E') / kTargetFileName), ReadBytes(ImagePath(1)));
}

TEST_F(UpgradeCommandTest,
       AnImageHeldByAnotherProgramIsNamedAtTheClickAndTheNextClickAfterItsReleaseUpgrades) {
    OpenWithPlayerShowingItsVersion(3 * kCopyBufferBytes + 17);
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
    ASSERT_TRUE(sim::PumpUntil([this] { return Ended(); }));
    ASSERT_TRUE(sim::WaitForThreads());
    EXPECT_EQ(ReadBytes(Folder('E') / kTargetFileName), ReadBytes(ImagePath(1)));
    ASSERT_EQ(BoxCount(), 4u);
    EXPECT_EQ(sim::ShownMessageBoxes().back().text, kCompletionText);
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
    EXPECT_EQ(sim::Inspect(window_).result, IDCANCEL);
    EXPECT_FALSE(ProgressTimerRuns());
}

} // namespace
