#include "DiscoveryFixture.h"
#include "discovery/DriveLocator.h"
#include "support/CallFaults.h"
#include "tests/common/SystemValues.h"

#include <string>
#include <vector>

namespace {

class DriveLocatorTest : public DiscoveryTest {
protected:
    std::string Table() {
        const DriveTable table = ctx.removableDrives.Get();
        return std::string(table.begin(), table.end());
    }
    // The first count entries followed by zeros, as the table must read.
    static std::string Expected(const std::string& letters) {
        return letters + std::string(kDriveTableSize - letters.size(), '\0');
    }
};

TEST_F(DriveLocatorTest, CountsOnlyRemovableDrivesAboveC) {
    for (const char letter : {'A', 'B', 'C'}) {
        MapDrive(letter, DRIVE_REMOVABLE);
    }
    MapDrive('D', DRIVE_FIXED);
    MapDrive('E', DRIVE_REMOVABLE);
    MapDrive('F', DRIVE_CDROM);
    MapDrive('G', DRIVE_REMOVABLE);
    MapDrive('H', DRIVE_REMOTE);
    MapDrive('I', DRIVE_RAMDISK);
    MapDrive('Z', DRIVE_REMOVABLE);
    ctx.removableDrives.Set(DriveTable{'X', 'X', 'X', 'X', 'X'});
    EXPECT_EQ(CountRemovableDrives(ctx), 3);
    EXPECT_EQ(Table(), Expected("EGZ")) << "rebuilt from scratch, zero past the count";
}

TEST_F(DriveLocatorTest, MoreThanTwentyRemovableDrivesKeepsTheFirstTwenty) {
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        MapDrive(letter);
    }
    EXPECT_EQ(CountRemovableDrives(ctx), kDriveTableSize);
    EXPECT_EQ(Table(), "DEFGHIJKLMNOPQRSTUVW");
}

TEST_F(DriveLocatorTest, TwoPlayersAreHandedOutOnceEachUntilARecount) {
    for (const char letter : {'D', 'E', 'F', 'G'}) {
        MapDrive(letter);
    }
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    PutFile('G', "sys_conf.qtx", "1.1.5E");
    const std::int32_t count = CountRemovableDrives(ctx);
    ASSERT_EQ(count, 4);

    char letter = 0;
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'E');
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "E:\\sys_conf.qtx");
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'G');
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "G:\\sys_conf.qtx");
    EXPECT_EQ(Table(), Expected("DAFA"));

    letter = 0;
    EXPECT_FALSE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 0);
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "G:\\sys_conf.qtx") << "a failed search changes nothing";
    EXPECT_EQ(Table(), Expected("DAFA"));

    CountRemovableDrives(ctx);
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'E');
}

TEST_F(DriveLocatorTest, SearchLooksOnlyAtTheFirstCountEntries) {
    MapDrive('D');
    MapDrive('E');
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    CountRemovableDrives(ctx);
    char letter = 0;
    EXPECT_FALSE(FindConfigDrive(ctx, letter, 1));
    EXPECT_FALSE(FindConfigDrive(ctx, letter, -3));
    EXPECT_TRUE(FindConfigDrive(ctx, letter, 99)) << "a count past the table is bounded by it";
    EXPECT_EQ(letter, 'E');
}

TEST_F(DriveLocatorTest, ConfigurationFileWinsOverCertificateOnTheSameDrive) {
    MapDrive('E');
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    PutFile('E', "DEVCERT.DAT", Utf16("Qtx Labs"));
    const std::int32_t count = CountRemovableDrives(ctx);
    char letter = 0;
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "E:\\sys_conf.qtx");
    EXPECT_FALSE(FindCertificateDrive(ctx, letter, count)) << "the drive is taken";
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "E:\\sys_conf.qtx");
}

TEST_F(DriveLocatorTest, CertificateWithoutVendorTextIsPassedOverAndNotMarked) {
    MapDrive('E');
    MapDrive('F');
    PutFile('E', "DEVCERT.DAT", Utf16("Other Labs"));
    PutFile('F', "DEVCERT.DAT", Utf16("<cert>Qtx Labs</cert>"));
    const std::int32_t count = CountRemovableDrives(ctx);
    char letter = 0;
    ASSERT_TRUE(FindCertificateDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'F');
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "F:\\DEVCERT.DAT");
    EXPECT_EQ(Table(), Expected("EA"));
}

TEST_F(DriveLocatorTest, CertificateThatCannotBeOpenedIsNoPlayer) {
    MapDrive('E');
    MapDrive('F');
    PutFile('E', "DEVCERT.DAT", Utf16("Qtx Labs"));
    PutFile('F', "DEVCERT.DAT", Utf16("Qtx Labs"));
    const auto held = HeldByAnotherProgram("E:\\DEVCERT.DAT");
    const std::int32_t count = CountRemovableDrives(ctx);
    char letter = 0;
    bool found = false;
    EXPECT_NO_THROW(found = FindCertificateDrive(ctx, letter, count));
    EXPECT_TRUE(found);
    EXPECT_EQ(letter, 'F');
    EXPECT_EQ(Table(), Expected("EA"));
}

TEST_F(DriveLocatorTest, VendorMarkerIsSoughtInACertificateOfAtMost16000Bytes) {
    const std::string marker = Utf16("Qtx Labs");
    MapDrive('E');
    PutFile('E', "DEVCERT.DAT", marker + std::string(16000 - marker.size(), 'a'));
    EXPECT_TRUE(HasVendorMarker("E:\\DEVCERT.DAT"));
    PutFile('E', "DEVCERT.DAT", marker + std::string(16001 - marker.size(), 'a'));
    EXPECT_FALSE(HasVendorMarker("E:\\DEVCERT.DAT"));
    EXPECT_FALSE(HasVendorMarker("E:\\missing.dat"));
}

} // namespace
