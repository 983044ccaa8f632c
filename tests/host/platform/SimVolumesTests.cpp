#include "SystemServicesFixture.h"
#include "platform/Errors.h"
#include "platform/FileSearch.h"
#include "platform/LastError.h"

#include <string>

namespace {

class SimVolumesTest : public SystemServicesTest {};

TEST_F(SimVolumesTest, DriveStringsListPresentDrivesInLetterOrder) {
    MapDrive('G');
    MapDrive('C', DRIVE_FIXED);
    MapDrive('E');
    MapDrive('F');
    platform::sim::UnplugDrive('F');
    char buffer[500];
    const std::uint32_t length = platform::GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, length + 1), std::string("C:\\\0E:\\\0G:\\\0\0", 13));
    EXPECT_EQ(platform::GetLogicalDriveStringsA(5, buffer), 13u) << "too small a buffer gets the size needed";
}

TEST_F(SimVolumesTest, DriveTypesAndMissingDrives) {
    MapDrive('D', DRIVE_CDROM);
    MapDrive('E');
    EXPECT_EQ(platform::GetDriveTypeA("D:\\"), DRIVE_CDROM);
    EXPECT_EQ(platform::GetDriveTypeA("E:\\"), DRIVE_REMOVABLE);
    EXPECT_EQ(platform::GetDriveTypeA("K:\\"), DRIVE_NO_ROOT_DIR);
}

TEST_F(SimVolumesTest, FreeSpaceIsTheFigureSetOrAFailure) {
    MapDrive('E');
    std::uint64_t available = 0, total = 0, free = 0;
    ASSERT_TRUE(platform::GetDiskFreeSpaceExA("E:\\", &available, &total, &free));
    EXPECT_EQ(free, platform::sim::kDefaultFreeBytes);
    platform::sim::SetFreeSpace('E', 1234);
    ASSERT_TRUE(platform::GetDiskFreeSpaceExA("E:\\", &available, &total, &free));
    EXPECT_EQ(free, 1234u);
    EXPECT_EQ(available, 1234u);
    platform::sim::SetFreeSpace('E', std::nullopt);
    free = 77;
    EXPECT_FALSE(platform::GetDiskFreeSpaceExA("E:\\", &available, &total, &free));
    EXPECT_EQ(free, 77u) << "a failed query leaves the out-values alone";
    EXPECT_FALSE(platform::GetDiskFreeSpaceExA("K:\\", &available, &total, &free));
}

TEST_F(SimVolumesTest, FindFirstFileFindsExistingFilesOnly) {
    const auto folder = MapDrive('E');
    WriteBytes(folder / "DEVCERT.DAT", "x");
    platform::sim::LockFile("E:\\DEVCERT.DAT");
    const platform::FindHandle found = platform::FindFirstFileA("E:\\DEVCERT.DAT");
    ASSERT_NE(found, nullptr) << "a held file is still found";
    EXPECT_TRUE(platform::FindClose(found));
    EXPECT_EQ(platform::FindFirstFileA("E:\\sys_conf.qtx"), nullptr);
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::FindFirstFileA("K:\\sys_conf.qtx"), nullptr);
}

} // namespace
