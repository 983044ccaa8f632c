// The copy is read back from the player, past the system's cache, which still holds what was sent:
// in whole sectors of the player's volume, and through the cache only where the volume refuses.
#include "TransferFixture.h"

#include "platform/Errors.h"
#include "sim/system/SimMachine.h"
#include "tests/common/SystemValues.h"

#include <memory>
#include <vector>

namespace {

namespace sim = platform::sim;
using platform::sim::WriteFault;

// Whether each open of E:\tolvr500.tmp for reading went past the cache, in order (the copies below
// run on the test's thread).
struct ReadOpens {
    std::shared_ptr<std::vector<bool>> unbuffered = std::make_shared<std::vector<bool>>();
    sim::ScopedCallHook hook{[record = unbuffered](const sim::Call& call) {
        if (call.kind == sim::CallKind::Open && call.path == "E:\\tolvr500.tmp" && !call.writes) {
            record->push_back(call.unbuffered);
        }
        return 0L;
    }};
};

class ReadBackTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        MapConfigPlayer('E');
        WriteBytes(FileOn('E', kTargetFileName), "old firmware");
    }
    std::string Target() const { return ReadBytes(FileOn('E', kTargetFileName)); }
};

TEST_F(ReadBackTest, TheCopyIsReadBackPastTheCacheAlsoToTellWhatTheMediumKept) {
    const ReadOpens clean;
    const std::string first = ChooseImage(100000);
    ASSERT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded());
    EXPECT_EQ(*clean.unbuffered, (std::vector<bool>{true}));

    const ReadOpens corrupted;
    ChooseImage(100001);
    sim::BreakWritesAfter('E', 70000, WriteFault::Corrupts);
    EXPECT_EQ(CopyImageToDrive(Job(), 'E').failure, CopyFailure::VerifyFailed);
    EXPECT_EQ(*corrupted.unbuffered, (std::vector<bool>{true, true})) << "the comparison, then the digest";
    EXPECT_EQ(Target(), first);
}

TEST_F(ReadBackTest, CopiesOfAnyLengthReadBackInWholeSectorsOfTheirVolume) {
    // The simulated volume refuses any read off its sectors, as Windows does: a copy read back out
    // of step would fail to verify.
    for (const std::uint32_t sector : {512u, 4096u}) {
        for (const std::size_t length :
             {std::size_t{1}, std::size_t{sector} - 1, std::size_t{sector}, std::size_t{sector} + 1,
              std::size_t{65535}, std::size_t{65536}, std::size_t{65537}, std::size_t{3} * 65536 + 5}) {
            SCOPED_TRACE(testing::Message() << "sector " << sector << ", length " << length);
            sim::SetSectorSize('E', sector);
            const std::string image = ChooseImage(length);
            const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
            EXPECT_EQ(outcome.failure, CopyFailure::None);
            EXPECT_EQ(outcome.errorCode, 0);
            EXPECT_EQ(Target(), image);
        }
    }
}

TEST_F(ReadBackTest, AVolumeThatWillNotBeReadPastTheCacheIsVerifiedThroughIt) {
    struct Refusal {
        const char* name;
        sim::CallHook hook;
    };
    const Refusal refusals[] = {
        {"the unbuffered open is refused",
         [](const sim::Call& call) { return call.unbuffered ? ERROR_INVALID_PARAMETER : 0L; }},
        {"the sector size cannot be read",
         [](const sim::Call& call) { return call.kind == sim::CallKind::FreeSpace ? ERROR_NOT_READY : 0L; }},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const ReadOpens opens;
        const sim::ScopedCallHook refuse(refusal.hook);
        const std::string image = ChooseImage(100000);
        EXPECT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded());
        EXPECT_EQ(Target(), image);
        ASSERT_FALSE(opens.unbuffered->empty());
        EXPECT_FALSE(opens.unbuffered->back()) << "read back through the cache";
    }
}

} // namespace
