#include "TransferFixture.h"

#include "support/CallFaults.h"
#include "tests/common/ProgramTexts.h"
#include "tests/common/SystemValues.h"
#include "transfer/TransferMessages.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace {

using platform::sim::WriteFault;
using Strings = std::vector<std::string>;

class TransferWorkerTest : public TransferTest {};

TEST_F(TransferWorkerTest, OnePlayerReceivesTheImageThenTheRunEnds) {
    MapConfigPlayer('E');
    const std::string image = ChooseImage(123456);
    const auto testThread = std::this_thread::get_id();
    window_->WhileShown([&] {
        // The run is marked finished only after the box.
        EXPECT_NE(ctx.transferPhase.load(), TransferPhase::Ended);
        EXPECT_NE(std::this_thread::get_id(), testThread) << "asked by the worker";
    });
    RunTransfer();

    EXPECT_EQ(ReadBytes(FileOn('E', "tolvr500.rom")), image);
    EXPECT_FALSE(std::filesystem::exists(FileOn('E', "tolvr500.tmp")));
    EXPECT_EQ(Requests(), (Strings{"stop progress", "message: " + std::string(kCompletionText), "end run"}));
    EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::Upgraded);
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
    EXPECT_EQ(ctx.status.load(), Finished);
    EXPECT_EQ(ctx.currentDriveOrdinal.load(), 1);
}

TEST_F(TransferWorkerTest, ADiskTooSmallIsReportedWithTheProgressHeld) {
    MapConfigPlayer('E');
    ChooseImage(100000);
    platform::sim::SetFreeSpace('E', 99999);
    RunTransfer();

    EXPECT_EQ(Requests(),
              (Strings{"message, progress held: E:\\ Disk is Full!!! F/W upgrade is failed.", "stop progress",
                       "message: " + std::string(kNoneReceivedText), "end run"}));
    EXPECT_FALSE(std::filesystem::exists(FileOn('E', "tolvr500.rom")));
    EXPECT_FALSE(std::filesystem::exists(FileOn('E', "tolvr500.tmp")));
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
    EXPECT_EQ(ctx.status.load(), Finished);
}

TEST_F(TransferWorkerTest, AStaleTemporaryFileIsRemovedBeforeTheFreeSpaceIsJudged) {
    // Left by a run that was stopped half-way, it would otherwise make the disk look full for good.
    MapConfigPlayer('E');
    WriteBytes(FileOn('E', kTemporaryFileName), Pattern(90000, 5));
    ChooseImage(100000);
    platform::sim::SetFreeSpace('E', 99999);
    std::atomic<int> staleAtTheMeasure = -1;
    platform::sim::ScopedCallHook measure([&](const platform::sim::Call& call) {
        if (call.kind == platform::sim::CallKind::FreeSpace && call.drive == 'E') {
            staleAtTheMeasure = std::filesystem::exists(FileOn('E', kTemporaryFileName)) ? 1 : 0;
        }
        return 0L;
    });
    RunTransfer();
    EXPECT_EQ(staleAtTheMeasure.load(), 0) << "gone before the free space is read";
    EXPECT_FALSE(std::filesystem::exists(FileOn('E', kTemporaryFileName)));
}

TEST_F(TransferWorkerTest, TheTotalFreeBytesDecideWhetherToCopy) {
    struct Case {
        std::uint64_t freeBytes;
        bool copied;
    };
    for (const Case& free : {Case{99999, false}, Case{100000, true}, Case{(1ull << 32) + 5, true}}) {
        SCOPED_TRACE(free.freeBytes);
        StartOver();
        MapConfigPlayer('E');
        ChooseImage(100000);
        platform::sim::SetFreeSpace('E', free.freeBytes);
        RunTransfer();
        EXPECT_EQ(std::filesystem::exists(FileOn('E', "tolvr500.rom")), free.copied);
        EXPECT_EQ(BoxTexts().back(), free.copied ? kCompletionText : kNoneReceivedText);
    }
}

TEST_F(TransferWorkerTest, TwoPlayersBothReceiveTheImageAndTheCompletionComesOnce) {
    MapDrive('D'); // a removable drive that is no player
    MapCertificatePlayer('E');
    MapEmptySlot('F');
    MapConfigPlayer('G');
    const std::string image = ChooseImage(90000);
    RunTransfer();

    EXPECT_EQ(ReadBytes(FileOn('E', "tolvr500.rom")), image);
    EXPECT_EQ(ReadBytes(FileOn('G', "tolvr500.rom")), image);
    EXPECT_EQ(BoxTexts(), (Strings{kCompletionText}));
    EXPECT_EQ(ctx.currentDriveOrdinal.load(), 4);
}

TEST_F(TransferWorkerTest, ConfigurationFilePlayersAreServedFirstThenCertificatePlayersInTableOrder) {
    MapCertificatePlayer('D');
    MapConfigPlayer('E');
    MapCertificatePlayer('F');
    MapConfigPlayer('G');
    ChooseImage(100000);
    std::vector<std::int32_t> ordinals;
    for (int i = 0; i < 4; ++i) {
        platform::sim::SetFreeSpace(static_cast<char>('D' + i), 10);
    }
    window_->WhileShown([&] { ordinals.push_back(ctx.currentDriveOrdinal.load()); });
    RunTransfer();

    EXPECT_EQ(BoxTexts(), (Strings{"E:\\ Disk is Full!!! F/W upgrade is failed.",
                                   "G:\\ Disk is Full!!! F/W upgrade is failed.",
                                   "D:\\ Disk is Full!!! F/W upgrade is failed.",
                                   "F:\\ Disk is Full!!! F/W upgrade is failed.", kNoneReceivedText}));
    EXPECT_EQ(ordinals, (std::vector<std::int32_t>{1, 2, 3, 4, 4}));
}

TEST_F(TransferWorkerTest, APlayerThatMustNotReceiveTheImageIsSkippedWithItsReason) {
    struct Case {
        std::string version; // on E:, the line-1 image of version 1.1.6E chosen
        std::string message;
    };
    const Case cases[] = {
        {"2.0.1E", "E:\\ This device runs firmware 2.0.1E, of another line than the new firmware 1.1.6E. "
                   "Nothing was written to it."},
        {"7.0.1E", "E:\\ This device runs firmware 7.0.1E, of another line than the new firmware 1.1.6E. "
                   "Nothing was written to it."},
        {"1.1.8E", "E:\\ This device runs firmware 1.1.8E, newer than the new firmware 1.1.6E. You must not "
                   "downgrade!! Nothing was written to it."},
        {"1.1.5K", "E:\\ The language of firmware 1.1.5K on this device is not equal to that of the new "
                   "firmware 1.1.6E. Nothing was written to it."},
        {"<firmver>" + std::string(16000, ' '), // tagged text over the size limit
         "E:\\ The firmware version of this device could not be read. Nothing was written to it."},
    };
    for (const Case& player : cases) {
        SCOPED_TRACE(player.version.substr(0, 10));
        StartOver();
        MapConfigPlayer('E', player.version);
        MapConfigPlayer('F');
        const std::string image = ChooseImage(60000);
        RunTransfer();
        EXPECT_FALSE(std::filesystem::exists(FileOn('E', "tolvr500.rom")));
        EXPECT_EQ(ReadBytes(FileOn('F', "tolvr500.rom")), image);
        EXPECT_EQ(BoxTexts(), (Strings{player.message, kCompletionText}));
    }
}

TEST_F(TransferWorkerTest, AWriteThatFailsHalfWayIsReportedAndTheWalkGoesOn) {
    struct Case {
        const char* name;
        WriteFault fault;
        std::string message;
    };
    const Case cases[] = {
        {"disk full", WriteFault::FailsWrite,
         "E:\\ The new firmware could not be written to this device (system error 112). The firmware file on "
         "this device was not changed."},
        {"pulled out", WriteFault::Unplugs,
         "E:\\ The new firmware could not be written to this device (system error 21). The firmware file on "
         "this device was not changed."},
    };
    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.name);
        StartOver();
        MapConfigPlayer('E');
        MapConfigPlayer('F');
        WriteBytes(FileOn('E', "tolvr500.rom"), "old firmware");
        const std::string image = ChooseImage(150000);
        platform::sim::BreakWritesAfter('E', 70000, broken.fault);
        RunTransfer();
        EXPECT_EQ(ReadBytes(FileOn('E', "tolvr500.rom")), "old firmware");
        EXPECT_EQ(ReadBytes(FileOn('F', "tolvr500.rom")), image);
        EXPECT_EQ(Requests(), (Strings{"message, progress held: " + broken.message, "stop progress",
                                       "message: " + std::string(kCompletionText), "end run"}));
    }
}

TEST_F(TransferWorkerTest, AnImageThatCannotBeReadIsReportedForEachPlayer) {
    MapConfigPlayer('E');
    MapConfigPlayer('F');
    ChooseImage(80000);
    std::filesystem::remove(ctx.imagePairs[0].imagePath);
    RunTransfer();
    EXPECT_EQ(BoxTexts(), (Strings{"E:\\ The firmware image could not be read (system error 2). The firmware "
                                   "file on this device was not changed.",
                                   "F:\\ The firmware image could not be read (system error 2). The firmware "
                                   "file on this device was not changed.",
                                   kNoneReceivedText}));
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
}

TEST_F(TransferWorkerTest, FreeSpaceThatCannotBeQueriedSkipsThatPlayer) {
    MapConfigPlayer('E');
    MapConfigPlayer('F');
    const std::string image = ChooseImage(80000);
    const auto unreadable = FailCalls(platform::sim::CallKind::FreeSpace, 'E', ERROR_NOT_READY);
    RunTransfer();
    EXPECT_FALSE(std::filesystem::exists(FileOn('E', "tolvr500.rom")));
    EXPECT_EQ(ReadBytes(FileOn('F', "tolvr500.rom")), image);
    EXPECT_EQ(BoxTexts(), (Strings{"E:\\ The free space of this device could not be read (system error 21). "
                                   "Nothing was written to it.",
                                   kCompletionText}));
}

TEST_F(TransferWorkerTest, NoPlayerAmongTheDrivesEndsWithTheFailureMessage) {
    MapDrive('E');
    MapDrive('F');
    ChooseImage(80000);
    RunTransfer();
    EXPECT_EQ(Requests(),
              (Strings{"stop progress", "message: " + std::string(kNoneReceivedText), "end run"}));
    EXPECT_EQ(ctx.currentDriveOrdinal.load(), 2) << "one iteration per drive";
    EXPECT_EQ(ctx.runOutcome.load(), RunOutcome::NoPlayerUpgraded);
    EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
    EXPECT_EQ(ctx.status.load(), Finished);
}

TEST_F(TransferWorkerTest, TheWorkerCopiesTheImageChosenWhenItStarted) {
    MapConfigPlayer('E');
    const std::string image = ChooseImage(70000);
    WriteBytes(ctx.imagePairs[1].imagePath, Pattern(70000, 9));
    ctx.driveCount = CountRemovableDrives(ctx);
    platform::sim::HoldThreads();
    ASSERT_TRUE(StartTransferWorker(ctx));
    // A poll run by a volume notice chooses another line before the worker gets going.
    ctx.firmwareImagePath.Set(ctx.imagePairs[1].imagePath);
    ctx.targetVersionText.Set(ctx.imagePairs[1].version);
    platform::sim::ReleaseHeldThreads();
    ASSERT_TRUE(platform::sim::WaitForThreads());
    EXPECT_EQ(ReadBytes(FileOn('E', "tolvr500.rom")), image);
    EXPECT_EQ(BoxTexts(), (Strings{kCompletionText}));
}

} // namespace
