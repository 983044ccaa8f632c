// A real full disk: run by tests/exe/transfer-small-disk.sh, which mounts a 1 MiB tmpfs holding an
// old tolvr500.rom and names it in UPDATER_SMALL_DISK; not registered with CTest on its own, because
// only that script can provide the disk. How a full disk fails a write (a chunk larger than the space
// left is written short) is the real file system's to show.
#include <windows.h>

#include "app/UpdaterContext.h"
#include "support/TestDrives.h"
#include "tests/common/Pattern.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferJob.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SmallDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drives_.MakeRoot()) << drives_.Root();
        const char* disk = std::getenv("UPDATER_SMALL_DISK");
        ASSERT_NE(disk, nullptr) << "UPDATER_SMALL_DISK names no mounted small disk";
        drives_.Map('E', DRIVE_REMOVABLE, disk);
        oldFirmware_ = ReadFile("E:\\tolvr500.rom");
        ASSERT_FALSE(oldFirmware_.empty()) << "the small disk holds no old tolvr500.rom";
        ULARGE_INTEGER available{}, total{}, free{};
        ASSERT_TRUE(::GetDiskFreeSpaceExA("E:\\", &available, &total, &free));
        freeBytes_ = free.QuadPart;
    }

    // Writes an image of `size` bytes outside the disk and chooses it.
    void ChooseImage(std::size_t size) {
        const std::string path = WinePath(drives_.Root()) + "\\image1.rom";
        std::ofstream image(path, std::ios::binary);
        image << Pattern(size);
        ASSERT_TRUE(image.good()) << path;
        ctx.firmwareImagePath.Set(path);
        ctx.targetVersionText.Set("1.1.6E");
    }

    UpdaterContext ctx;
    std::string oldFirmware_;
    std::uint64_t freeBytes_ = 0;

private:
    TestDrives drives_{"small-disk"};
};

TEST_F(SmallDiskTest, AWriteThatFillsTheDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ChooseImage(freeBytes_ + 200000);
    const CopyOutcome outcome = CopyImageToDrive(MakeTransferJob(ctx), 'E');
    EXPECT_EQ(outcome.failure, CopyFailure::WriteFailed);
    EXPECT_EQ(outcome.errorCode, ERROR_DISK_FULL);
    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), oldFirmware_);
    EXPECT_EQ(::GetFileAttributesA("E:\\tolvr500.tmp"), INVALID_FILE_ATTRIBUTES);
}

} // namespace
