// A real full disk: run by tests/exe/transfer-small-disk.sh, which mounts a 1 MiB tmpfs holding an
// old tolvr500.rom and names it in UPDATER_SMALL_DISK; not registered with CTest on its own, because
// only that script can provide the disk.
#include "transfer/WineTransferFixture.h"

#include <cstdlib>

namespace {

class SmallDiskTest : public WineTransferTest {
protected:
    void SetUp() override {
        WineTransferTest::SetUp();
        const char* disk = std::getenv("UPDATER_SMALL_DISK");
        ASSERT_NE(disk, nullptr) << "UPDATER_SMALL_DISK names no mounted small disk";
        MapDrive('E', disk);
        oldFirmware_ = ReadFile("E:\\tolvr500.rom");
        ASSERT_FALSE(oldFirmware_.empty()) << "the small disk holds no old tolvr500.rom";
        ULARGE_INTEGER available{}, total{}, free{};
        ASSERT_TRUE(::GetDiskFreeSpaceExA("E:\\", &available, &total, &free));
        freeBytes_ = free.QuadPart;
    }

    std::string oldFirmware_;
    std::uint64_t freeBytes_ = 0;
};

TEST_F(SmallDiskTest, AWriteThatFillsTheDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ChooseImage(freeBytes_ + 200000);
    const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
    EXPECT_EQ(outcome.failure, CopyFailure::WriteFailed);
    EXPECT_EQ(outcome.errorCode, ERROR_DISK_FULL);
    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), oldFirmware_);
    EXPECT_FALSE(Exists("E:\\tolvr500.tmp"));
}

TEST_F(SmallDiskTest, TheWorkerReportsTheDiskAsFullAndWritesNothing) {
    WriteFile("E:\\sys_conf.qtx", "1.1.5E");
    ChooseImage(freeBytes_ + 1);
    OpenDialog();
    RunTransfer();
    EXPECT_EQ(boxes_,
              (std::vector<std::string>{"E:\\ Disk is Full!!! F/W upgrade is failed.",
                                        "No device received the new firmware. F/W upgrade is failed."}));
    EXPECT_EQ(events_, (std::vector<std::string>{"timer stop", "box", "timer start", "timer stop", "box",
                                                 "IDCANCEL"}));
    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), oldFirmware_);
    EXPECT_FALSE(Exists("E:\\tolvr500.tmp"));
}

} // namespace
