// The locators probe and read a player's files without the shared lock, which the window takes on
// every poll, and hand out an entry only if it still holds the letter they probed.
#include "DiscoveryFixture.h"
#include "discovery/DriveLocator.h"
#include "discovery/PathProbe.h"
#include "support/CallGate.h"

#include <gtest/gtest-spi.h>

#include <string>
#include <thread>

namespace {

namespace sim = platform::sim;

class LocatorLockTest : public DiscoveryTest {
protected:
    void PutCertificate(char letter) { PutFile(letter, "DEVCERT.DAT", Utf16("Vendor: Qtx Labs\n")); }
};

TEST_F(LocatorLockTest, TheWindowCanTakeTheLockWhileALocatorWaitsOnASlowPlayer) {
    MapDrive('E');
    PutCertificate('E');
    const std::int32_t count = CountRemovableDrives(ctx);

    // The certificate read hangs, as a failing USB device does, until the window has had its turn.
    CallGate slowPlayer([](const sim::Call& call) {
        return call.kind == sim::CallKind::Read && call.path == "E:\\DEVCERT.DAT";
    });
    std::optional<LocatedPlayer> found;
    std::thread worker([&] { found = FindCertificateDrive(ctx, count); });
    slowPlayer.WaitUntilReached();
    const bool windowGotTheLock = ctx.sharedLock.try_lock();
    if (windowGotTheLock) {
        ctx.sharedLock.unlock();
    }
    slowPlayer.Open();
    worker.join();

    EXPECT_TRUE(windowGotTheLock) << "the poll would have waited on the player";
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filePath, "E:\\DEVCERT.DAT");
}

TEST_F(LocatorLockTest, AnEntryTakenOrRecountedDuringTheProbeIsNotHandedOutTwice) {
    struct Case {
        const char* name;
        DriveTable meanwhile; // what the other thread leaves in the table during the probe of E:
        char expected;        // the letter this locator hands out, or 0
    };
    const Case cases[] = {
        {"E: taken by the other thread", {'A', 'G'}, 'G'},
        {"table counted again without E:", {'G'}, 'G'},
        {"table counted again, E: now past the count", {'D', '\0', 'E'}, 0},
        {"unchanged", {'E', 'G'}, 'E'},
    };
    for (const Case& other : cases) {
        SCOPED_TRACE(other.name);
        MapDrive('E');
        MapDrive('G');
        PutFile('E', kConfigFileName, "1.1.5E");
        PutFile('G', kConfigFileName, "1.1.5E");
        const std::int32_t count = CountRemovableDrives(ctx);
        sim::ScopedCallHook otherThread([&](const sim::Call& call) {
            if (call.kind == sim::CallKind::Find && call.path == "E:\\sys_conf.qtx") {
                ctx.removableDrives.Set(other.meanwhile);
            }
            return 0L;
        });
        const std::optional<LocatedPlayer> found = FindConfigDrive(ctx, count);
        EXPECT_EQ(found ? found->letter : 0, other.expected);
    }
}

UpdaterContext* heldContext = nullptr; // for the expectation below, which may not reach locals

TEST_F(LocatorLockTest, APlayersFileTouchedUnderTheSharedLockFailsTheTest) {
    MapDrive('E');
    PutFile('E', kConfigFileName, "1.1.5E");
    heldContext = &ctx;
    EXPECT_NONFATAL_FAILURE(
        {
            std::lock_guard hold(heldContext->sharedLock);
            PathProbe("E:\\sys_conf.qtx").Exists();
        },
        "E:\\sys_conf.qtx touched while the shared lock is held");
    heldContext = nullptr;
}

} // namespace
