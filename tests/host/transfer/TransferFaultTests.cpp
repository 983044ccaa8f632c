// Faults around one player during a run: each is named in a box, nothing lands under the final name
// that is not the whole image, no temporary file stays, and success is never claimed for it.
#include "TransferFixture.h"

#include "platform/Errors.h"
#include "sim/system/SimMachine.h"
#include "support/CallFaults.h"
#include "tests/common/ProgramTexts.h"

#include <atomic>
#include <memory>

namespace {

namespace sim = platform::sim;
using Strings = std::vector<std::string>;

class TransferFaultTest : public TransferTest {
protected:
    // E: with an old image, then F:; both run 1.1.5E.
    std::string TwoPlayers() {
        MapConfigPlayer('E');
        MapConfigPlayer('F');
        WriteBytes(FileOn('E', kTargetFileName), "old firmware");
        return ChooseImage(100000);
    }
    // Runs `act` once, on the worker's first call of `kind` on `path`.
    sim::ScopedCallHook AtFirst(sim::CallKind kind, std::string path, std::function<void()> act) {
        // Shared, as the machine runs a copy of the hook for each call.
        auto done = std::make_shared<std::atomic<bool>>(false);
        return sim::ScopedCallHook([this, kind, path, act, done](const sim::Call& call) {
            if (call.kind == kind && call.path == path && std::this_thread::get_id() != testThread_ &&
                !done->exchange(true)) {
                act();
            }
            return 0L;
        });
    }
    // Another player on E:, of line 2 and with an old image of its own, in place of the first.
    std::filesystem::path SwapInALineTwoPlayer() {
        const auto other = temp_.Path() / "other";
        std::filesystem::create_directories(other);
        WriteBytes(other / kConfigFileName, "2.0.1E");
        WriteBytes(other / kTargetFileName, "other's firmware");
        sim::MapDrive('E', other, DRIVE_REMOVABLE);
        return other;
    }
    void ExpectNoTemporaryFile(const std::filesystem::path& folder) {
        EXPECT_FALSE(std::filesystem::exists(folder / kTemporaryFileName)) << folder;
    }
    // E: kept its old file and left no temporary one, F: received `served`, and the run showed E:'s
    // `box` and then the completion.
    void ExpectOnlyEFailed(const std::string& served, const std::string& box) {
        EXPECT_EQ(ReadBytes(FileOn('E', kTargetFileName)), "old firmware");
        ExpectNoTemporaryFile(Folder('E'));
        EXPECT_EQ(ReadBytes(FileOn('F', kTargetFileName)), served) << "F: gets the image whole";
        EXPECT_EQ(BoxTexts(), (Strings{box, kCompletionText}));
    }

    const std::thread::id testThread_ = std::this_thread::get_id();
};

TEST_F(TransferFaultTest, AWriteProtectedPlayerIsNamedAndKeepsItsFile) {
    const std::string image = TwoPlayers();
    const auto writeProtected = WriteProtected('E');
    RunTransfer();
    ExpectOnlyEFailed(image, "E:\\ This device is write-protected (system error 19). The firmware file on "
                             "this device was not changed.");
}

TEST_F(TransferFaultTest, AnImageChangedBeforeTheCopyIsCopiedWhole) {
    TwoPlayers();
    const std::string changed = Pattern(70001, 7);
    auto hook = AtFirst(sim::CallKind::Open, ctx.imagePairs[0].imagePath,
                        [&] { WriteBytes(ctx.imagePairs[0].imagePath, changed); });
    RunTransfer();
    EXPECT_EQ(ReadBytes(FileOn('E', kTargetFileName)), changed) << "no stale length, no mixture";
    EXPECT_EQ(ReadBytes(FileOn('F', kTargetFileName)), changed);
    ExpectNoTemporaryFile(Folder('E'));
    EXPECT_EQ(BoxTexts(), (Strings{kCompletionText}));
}

TEST_F(TransferFaultTest, AnImageChangedDuringTheCopyIsNeverPutInPlace) {
    for (const std::size_t newLength : {std::size_t{60000}, std::size_t{100000}, std::size_t{150000}}) {
        SCOPED_TRACE(newLength);
        StartOver();
        const std::string image = TwoPlayers();
        auto hook = AtFirst(sim::CallKind::Write, "E:\\tolvr500.tmp",
                            [&] { WriteBytes(ctx.imagePairs[0].imagePath, Pattern(newLength, 3)); });
        RunTransfer();
        ExpectOnlyEFailed(Pattern(newLength, 3), "E:\\ The firmware image changed while it was copied. The "
                                                 "firmware file on this device was not changed.");
    }
}

TEST_F(TransferFaultTest, APlayerSwappedBeforeItsCheckIsJudgedAsTheNewOne) {
    const std::string image = TwoPlayers();
    std::filesystem::path other;
    auto hook = AtFirst(sim::CallKind::Find, "E:\\sys_conf.qtx", [&] { other = SwapInALineTwoPlayer(); });
    RunTransfer();
    EXPECT_EQ(ReadBytes(other / kTargetFileName), "other's firmware");
    ExpectNoTemporaryFile(other);
    EXPECT_EQ(ReadBytes(FileOn('F', kTargetFileName)), image);
    EXPECT_EQ(BoxTexts(),
              (Strings{"E:\\ This device runs firmware 2.0.1E, of another line than the new firmware "
                       "1.1.6E. Nothing was written to it.",
                       kCompletionText}));
}

TEST_F(TransferFaultTest, APlayerSwappedAfterItsCheckNeverReceivesTheImage) {
    // Between the check and the rename: the copy goes to the new player, and the check made again
    // before the rename sees it.
    struct Moment {
        sim::CallKind kind;
        const char* name;
    };
    for (const Moment moment :
         {Moment{sim::CallKind::Open, "opening the copy"}, Moment{sim::CallKind::Flush, "flushing it"}}) {
        SCOPED_TRACE(moment.name);
        StartOver();
        const std::string image = TwoPlayers();
        std::filesystem::path other;
        auto hook = AtFirst(moment.kind, "E:\\tolvr500.tmp", [&] { other = SwapInALineTwoPlayer(); });
        RunTransfer();
        ASSERT_FALSE(other.empty());
        EXPECT_EQ(ReadBytes(other / kTargetFileName), "other's firmware");
        ExpectNoTemporaryFile(other);
        EXPECT_EQ(ReadBytes(FileOn('E', kTargetFileName)), "old firmware");
        EXPECT_EQ(ReadBytes(FileOn('F', kTargetFileName)), image);
        ASSERT_EQ(BoxTexts().size(), 2u);
        EXPECT_EQ(BoxTexts()[0].rfind("E:\\ ", 0), 0u) << BoxTexts()[0];
        EXPECT_EQ(BoxTexts()[1], kCompletionText);
    }
}

TEST_F(TransferFaultTest, ADriveLetterGoneBeforeTheTargetIsOpenedIsNamed) {
    const std::string image = TwoPlayers();
    auto hook = AtFirst(sim::CallKind::Open, "E:\\tolvr500.tmp", [] { sim::UnplugDrive('E'); });
    RunTransfer();
    ExpectOnlyEFailed(image, "E:\\ The new firmware could not be written to this device (system error 3). "
                             "The firmware file on this device was not changed.");
}

TEST_F(TransferFaultTest, OnlyPlayerSwappedMidCopyEndsWithoutSuccess) {
    MapConfigPlayer('E');
    ChooseImage(100000);
    std::filesystem::path other;
    auto hook = AtFirst(sim::CallKind::Open, "E:\\tolvr500.tmp", [&] { other = SwapInALineTwoPlayer(); });
    RunTransfer();
    EXPECT_EQ(ReadBytes(other / kTargetFileName), "other's firmware");
    ExpectNoTemporaryFile(other);
    EXPECT_EQ(BoxTexts(),
              (Strings{"E:\\ Another device took the place of the one checked while the new firmware "
                       "was copied. The firmware file on this device was not changed.",
                       kNoneReceivedText}));
}

} // namespace
