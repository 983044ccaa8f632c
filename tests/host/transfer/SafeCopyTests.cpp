#include "TransferFixture.h"

#include "platform/Errors.h"
#include "platform/File.h"
#include "sim/window/SimWindows.h"
#include "support/CallFaults.h"
#include "tests/common/SystemValues.h"
#include "transfer/PassingHold.h"

namespace {

using platform::sim::WriteFault;

class SafeCopyTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        MapConfigPlayer('E');
    }
    std::filesystem::path Target() const { return FileOn('E', kTargetFileName); }
    std::filesystem::path Temporary() const { return FileOn('E', kTemporaryFileName); }
};

TEST_F(SafeCopyTest, TheTargetEqualsImagesOfEveryLength) {
    // Around the chunk size: a last chunk that is empty, short, or the only one.
    for (const std::size_t size : {0u, 1u, 40959u, 40960u, 40961u, 81920u, 100000u}) {
        SCOPED_TRACE(size);
        const std::string image = ChooseImage(size);
        const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
        EXPECT_EQ(outcome.failure, CopyFailure::None);
        EXPECT_EQ(outcome.errorCode, 0);
        EXPECT_EQ(ReadBytes(Target()), image);
        EXPECT_FALSE(std::filesystem::exists(Temporary()));
    }
}

TEST_F(SafeCopyTest, ALongerOldFileIsReplacedWhole) {
    WriteBytes(Target(), std::string(200000, 'o'));
    const std::string image = ChooseImage(50000);
    EXPECT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded());
    EXPECT_EQ(ReadBytes(Target()), image);
}

TEST_F(SafeCopyTest, TheCopyWritesNoMoreBytesThanTheImageHas) {
    const std::string image = ChooseImage(3 * 40960);
    platform::sim::BreakWritesAfter('E', image.size(), WriteFault::FailsWrite);
    EXPECT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded());
    EXPECT_EQ(ReadBytes(Target()), image);
}

struct BrokenWrite {
    const char* name;
    WriteFault fault;
    std::uint64_t bytes; // written before it happens
    long error;
};

TEST_F(SafeCopyTest, AWriteThatFailsHalfWayLeavesTheOldFile) {
    const BrokenWrite cases[] = {
        {"disk full, the write fails", WriteFault::FailsWrite, 50000, ERROR_DISK_FULL},
        {"disk full, the write is short", WriteFault::ShortWrite, 50000, ERROR_DISK_FULL},
        {"disk full on the first chunk", WriteFault::ShortWrite, 0, ERROR_DISK_FULL},
        {"one byte short", WriteFault::FailsWrite, 119999, ERROR_DISK_FULL},
        {"player pulled out", WriteFault::Unplugs, 50000, ERROR_NOT_READY},
    };
    for (const BrokenWrite& broken : cases) {
        SCOPED_TRACE(broken.name);
        MapConfigPlayer('E');
        WriteBytes(Target(), "old firmware");
        ChooseImage(120000);
        platform::sim::BreakWritesAfter('E', broken.bytes, broken.fault);
        const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
        EXPECT_EQ(outcome.failure, CopyFailure::WriteFailed);
        EXPECT_EQ(outcome.errorCode, broken.error);
        EXPECT_EQ(ReadBytes(Target()), "old firmware");
        if (broken.fault != WriteFault::Unplugs) {
            EXPECT_FALSE(std::filesystem::exists(Temporary()));
        }
    }
}

TEST_F(SafeCopyTest, ARenameThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    WriteBytes(Target(), "old firmware");
    ChooseImage(70000);
    const auto held = HeldByAnotherProgram("E:\\tolvr500.rom");
    const std::uint64_t start = platform::sim::Now();
    const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
    EXPECT_EQ(outcome.failure, CopyFailure::ReplaceFailed);
    EXPECT_EQ(outcome.errorCode, ERROR_ACCESS_DENIED);
    EXPECT_EQ(platform::sim::Now() - start, kHoldWaitMs) << "a hold that outlasts the wait";
    EXPECT_EQ(ReadBytes(Target()), "old firmware");
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

TEST_F(SafeCopyTest, APassingHoldOnThePlayersFilesIsWaitedOutAndNoOtherFailureIs) {
    using platform::sim::CallKind;
    const struct {
        const char* name;
        CallKind kind;
        bool writes;
        long error;
        bool corrupt = false; // the copy fails its read-back, so the temporary file is removed
        bool waited = true;
    } cases[] = {
        {"creating the temporary file", CallKind::Open, true, ERROR_SHARING_VIOLATION},
        {"reading it back", CallKind::Open, false, ERROR_LOCK_VIOLATION},
        {"renaming it", CallKind::Move, false, ERROR_SHARING_VIOLATION},
        {"removing a copy that failed", CallKind::Delete, false, ERROR_SHARING_VIOLATION, true},
        {"a write-protected medium is no hold", CallKind::Open, true, ERROR_WRITE_PROTECT, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapConfigPlayer('E');
        WriteBytes(Target(), "old firmware");
        const std::string image = ChooseImage(70000);
        if (c.corrupt) {
            platform::sim::BreakWritesAfter('E', 0, WriteFault::Corrupts);
        }
        const auto hold = HeldForTries(c.kind, "E:\\tolvr500.tmp", c.writes, 4, c.error);
        const std::uint64_t start = platform::sim::Now();
        const bool copied = CopyImageToDrive(Job(), 'E').Succeeded();
        const std::uint64_t waited = platform::sim::Now() - start;
        EXPECT_EQ(copied, !c.corrupt && c.waited);
        EXPECT_EQ(ReadBytes(Target()), copied ? image : "old firmware");
        EXPECT_FALSE(std::filesystem::exists(Temporary()));
        EXPECT_EQ(waited > 0, c.waited);
        EXPECT_LT(waited, kHoldWaitMs);
    }
}

TEST_F(SafeCopyTest, ACopyThatDoesNotReadBackTheSameIsNeverPutInPlace) {
    WriteBytes(Target(), "old firmware");
    ChooseImage(3 * kCopyBufferBytes);
    platform::sim::BreakWritesAfter('E', 0, WriteFault::Corrupts);
    const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
    EXPECT_EQ(outcome.failure, CopyFailure::VerifyFailed);
    EXPECT_EQ(outcome.errorCode, 0) << "a mismatch, not a system error";
    EXPECT_EQ(ReadBytes(Target()), "old firmware");
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

TEST_F(SafeCopyTest, AnImageThatCannotBeOpenedWritesNothing) {
    WriteBytes(Target(), "old firmware");
    ctx.firmwareImagePath.Set(ImagePath(1)); // never made
    const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
    EXPECT_EQ(outcome.failure, CopyFailure::ImageUnreadable);
    EXPECT_EQ(outcome.errorCode, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadBytes(Target()), "old firmware");
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

TEST_F(SafeCopyTest, AProcessStoppedHalfWayNeverLeavesAPartialImageUnderTheFinalName) {
    WriteBytes(Target(), "old firmware");
    const std::string image = ChooseImage(200000);
    platform::sim::BreakWritesAfter('E', 90000, WriteFault::ShortWrite);
    // The write phase alone, abandoned where the disk gave out, as a killed process leaves it.
    EXPECT_THROW(WriteImageCopy(ctx.imagePairs[0].imagePath, "E:\\tolvr500.tmp"), platform::FileError);
    EXPECT_EQ(ReadBytes(Target()), "old firmware");
    EXPECT_EQ(ReadBytes(Temporary()).substr(0, 90000), image.substr(0, 90000))
        << "the partial copy is only there";

    platform::sim::BreakWritesAfter('E', 1u << 30, WriteFault::ShortWrite);
    EXPECT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded()) << "the next run";
    EXPECT_EQ(ReadBytes(Target()), image);
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

struct Comparison {
    const char* name;
    std::size_t flipAt; // the byte of the copy that differs; npos for none
    std::size_t copyLength;
    bool same;
};

TEST_F(SafeCopyTest, SameContentFindsAnyDifferentByteOrLength) {
    constexpr std::size_t kLength = 3 * 65536 + 5; // several verify chunks and a short one
    constexpr auto none = std::string::npos;
    const Comparison cases[] = {
        {"equal", none, kLength, true},
        {"first byte", 0, kLength, false},
        {"last byte of a copy chunk", 40959, kLength, false},
        {"first byte of the second verify chunk", 65536, kLength, false},
        {"last byte", kLength - 1, kLength, false},
        {"one byte shorter", none, kLength - 1, false},
        {"one byte longer", none, kLength + 1, false},
    };
    const std::string original = Pattern(kLength, 3);
    const auto a = temp_.Path() / "a.bin";
    const auto b = temp_.Path() / "b.bin";
    WriteBytes(a, original);
    for (const Comparison& comparison : cases) {
        SCOPED_TRACE(comparison.name);
        std::string copy = original;
        copy.resize(comparison.copyLength, 'x');
        if (comparison.flipAt != none) {
            copy[comparison.flipAt] = static_cast<char>(copy[comparison.flipAt] ^ 0x01);
        }
        WriteBytes(b, copy);
        EXPECT_EQ(SameContent(a.string(), b.string()), comparison.same);
    }
    EXPECT_TRUE(SameContent(a.string(), a.string()));
}

TEST_F(SafeCopyTest, SameContentOfAFileThatCannotBeReadThrows) {
    const auto a = temp_.Path() / "a.bin";
    WriteBytes(a, "bytes");
    try {
        SameContent(a.string(), (temp_.Path() / "missing.bin").string());
        ADD_FAILURE() << "no FileError";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.Code(), ERROR_FILE_NOT_FOUND);
    }
}

} // namespace
