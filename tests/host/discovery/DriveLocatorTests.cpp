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
    // The file that identified the drive handed out, or "" for none.
    static std::string Found(const std::optional<LocatedPlayer>& player) {
        return player ? player->filePath : "";
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

    EXPECT_EQ(Found(FindConfigDrive(ctx, count)), "E:\\sys_conf.qtx");
    EXPECT_EQ(Found(FindConfigDrive(ctx, count)), "G:\\sys_conf.qtx");
    EXPECT_EQ(Table(), Expected("DAFA"));
    EXPECT_EQ(Found(FindConfigDrive(ctx, count)), "");
    EXPECT_EQ(Table(), Expected("DAFA")) << "a failed search changes nothing";

    CountRemovableDrives(ctx);
    EXPECT_EQ(FindConfigDrive(ctx, count)->letter, 'E');
}

TEST_F(DriveLocatorTest, SearchLooksOnlyAtTheFirstCountEntries) {
    MapDrive('D');
    MapDrive('E');
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    CountRemovableDrives(ctx);
    EXPECT_FALSE(FindConfigDrive(ctx, 1));
    EXPECT_FALSE(FindConfigDrive(ctx, -3));
    EXPECT_EQ(Found(FindConfigDrive(ctx, 99)), "E:\\sys_conf.qtx")
        << "a count past the table is bounded by it";
}

TEST_F(DriveLocatorTest, ConfigurationFileWinsOverCertificateOnTheSameDrive) {
    MapDrive('E');
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    PutFile('E', "DEVCERT.DAT", Utf16("Qtx Labs"));
    const std::int32_t count = CountRemovableDrives(ctx);
    EXPECT_EQ(Found(FindPlayerDrive(ctx, count)), "E:\\sys_conf.qtx");
    EXPECT_FALSE(FindPlayerDrive(ctx, count)) << "the drive is taken";
}

TEST_F(DriveLocatorTest, CertificateWithoutVendorTextIsPassedOverAndNotMarked) {
    MapDrive('E');
    MapDrive('F');
    PutFile('E', "DEVCERT.DAT", Utf16("Other Labs"));
    PutFile('F', "DEVCERT.DAT", Utf16("<cert>Qtx Labs</cert>"));
    const std::int32_t count = CountRemovableDrives(ctx);
    EXPECT_EQ(Found(FindCertificateDrive(ctx, count)), "F:\\DEVCERT.DAT");
    EXPECT_EQ(Table(), Expected("EA"));
}

TEST_F(DriveLocatorTest, CertificateThatCannotBeOpenedIsNoPlayer) {
    MapDrive('E');
    MapDrive('F');
    PutFile('E', "DEVCERT.DAT", Utf16("Qtx Labs"));
    PutFile('F', "DEVCERT.DAT", Utf16("Qtx Labs"));
    const auto held = HeldByAnotherProgram("E:\\DEVCERT.DAT");
    const std::int32_t count = CountRemovableDrives(ctx);
    std::optional<LocatedPlayer> found;
    EXPECT_NO_THROW(found = FindCertificateDrive(ctx, count));
    EXPECT_EQ(Found(found), "F:\\DEVCERT.DAT");
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
