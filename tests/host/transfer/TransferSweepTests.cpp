// Every moment of a run: a whole upgrade of two players, each with an old image, made once for every
// file-system and volume call the worker makes, with that call failed, its player unplugged or its
// disk filled at that moment. After each run the same invariant must hold.
#include "TransferFixture.h"
#include "sim/system/SimMachine.h"
#include "tests/common/ProgramTexts.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <set>

namespace {

namespace sim = platform::sim;

constexpr long kInjectedError = 31; // a device that does not work
constexpr char kPlayers[] = {'E', 'F'};

enum class Fault { None, FailTheCall, UnplugItsPlayer, FillItsDisk };

const char* Name(sim::CallKind kind) {
    switch (kind) {
    case sim::CallKind::Open:
        return "open";
    case sim::CallKind::GetLength:
        return "length";
    case sim::CallKind::Read:
        return "read";
    case sim::CallKind::Write:
        return "write";
    case sim::CallKind::SetLength:
        return "set length";
    case sim::CallKind::Seek:
        return "seek";
    case sim::CallKind::Flush:
        return "flush";
    case sim::CallKind::Move:
        return "rename";
    case sim::CallKind::Delete:
        return "delete";
    case sim::CallKind::Find:
        return "find";
    case sim::CallKind::DriveStrings:
        return "drive list";
    case sim::CallKind::DriveType:
        return "drive type";
    case sim::CallKind::FreeSpace:
        return "free space";
    case sim::CallKind::RegistryOpen:
        return "registry open";
    case sim::CallKind::RegistryQuery:
        return "registry query";
    }
    return "";
}

const char* Name(Fault fault) {
    switch (fault) {
    case Fault::None:
        return "no fault";
    case Fault::FailTheCall:
        return "the call fails";
    case Fault::UnplugItsPlayer:
        return "its player is unplugged";
    case Fault::FillItsDisk:
        return "its disk is full";
    }
    return "";
}

class TransferSweepTest : public TransferTest {
protected:
    struct Run {
        int calls = 0; // by the worker
        std::map<std::string, int> byKind;
        std::set<char> reached;      // players the worker did more with than look for their file
        std::set<char> unplugged;    // by the fault
        std::set<char> deleteFailed; // a delete of the temporary file there failed by the fault
    };

    // One whole run with `fault` at the worker's call number `at` (from 0).
    Run RunWithFault(Fault fault, int at) {
        StartOver();
        for (const char letter : kPlayers) {
            MapConfigPlayer(letter);
            WriteBytes(FileOn(letter, kTargetFileName), std::string("old firmware of ") + letter);
        }
        image_ = ChooseImage(100000);
        Run run;
        std::atomic<bool> workerRuns = false;
        sim::ScopedCallHook hook([&](const sim::Call& call) {
            if (!workerRuns) {
                return 0L;
            }
            const char letter = call.drive;
            if (letter != '\0' && call.kind != sim::CallKind::Find) {
                run.reached.insert(letter);
            }
            ++run.byKind[Name(call.kind)];
            if (run.calls++ != at || letter == '\0') {
                return 0L;
            }
            switch (fault) {
            case Fault::None:
                break;
            case Fault::FailTheCall:
                if (call.kind == sim::CallKind::Delete) {
                    run.deleteFailed.insert(letter);
                }
                return kInjectedError;
            case Fault::UnplugItsPlayer:
                sim::UnplugDrive(letter);
                run.unplugged.insert(letter);
                break;
            case Fault::FillItsDisk:
                sim::SetFreeSpace(letter, 0);
                sim::BreakWritesAfter(letter, 0, sim::WriteFault::FailsWrite);
                break;
            }
            return 0L;
        });
        // What the upgrade command does before it starts the worker.
        ctx.driveCount = CountRemovableDrives(ctx);
        ctx.status = Downloading;
        workerRuns = true;
        EXPECT_TRUE(StartTransferWorker(ctx));
        EXPECT_TRUE(sim::WaitForThreads());
        workerRuns = false;
        return run;
    }

    void ExpectTheInvariant(const Run& run) {
        const std::vector<std::string> boxes = BoxTexts();
        ASSERT_FALSE(boxes.empty());
        bool anyReceived = false;
        for (const char letter : kPlayers) {
            SCOPED_TRACE(letter);
            const std::string now = ReadBytes(FileOn(letter, kTargetFileName));
            const bool received = now == image_;
            EXPECT_TRUE(received || now == std::string("old firmware of ") + letter) << "exactly old or new";
            anyReceived = anyReceived || received;
            if (run.unplugged.count(letter) == 0 && run.deleteFailed.count(letter) == 0) {
                EXPECT_FALSE(std::filesystem::exists(FileOn(letter, kTemporaryFileName)));
            }
            if (!received && run.reached.count(letter) != 0) {
                const std::string root = std::string{letter} + ":\\ ";
                EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [&](const std::string& text) {
                    return text.rfind(root, 0) == 0;
                })) << "a player reached that did not receive the image is named";
            }
        }
        EXPECT_EQ(boxes.back() == kCompletionText, anyReceived) << "success only if a player received it";
        EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended) << "the run ends";
        EXPECT_EQ(Requests().back(), "end run") << "and the window is left";
    }

    std::string image_;
};

TEST_F(TransferSweepTest, EveryCallOfTheWorkerFailedUnpluggedOrFullKeepsTheInvariant) {
    const Run clean = RunWithFault(Fault::None, -1);
    ExpectTheInvariant(clean);
    ASSERT_EQ(BoxTexts(), (std::vector<std::string>{kCompletionText}));
    ASSERT_GT(clean.calls, 0);

    for (const Fault fault : {Fault::FailTheCall, Fault::UnplugItsPlayer, Fault::FillItsDisk}) {
        for (int at = 0; at < clean.calls; ++at) {
            SCOPED_TRACE(std::string(Name(fault)) + " at call " + std::to_string(at));
            const Run run = RunWithFault(fault, at);
            ASSERT_GT(run.calls, at) << "the run makes its calls in the same order up to the fault";
            ExpectTheInvariant(run);
            if (HasFailure()) {
                return; // one broken moment is enough to read
            }
        }
    }
    std::string kinds;
    for (const auto& [kind, count] : clean.byKind) {
        kinds += (kinds.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    std::printf("swept %d calls of the worker (%s), each failed, unplugged and filled\n", clean.calls,
                kinds.c_str());
}

} // namespace
