#include "WineTransferFixture.h"

namespace {

class SafeCopyOnWineTest : public WineTransferTest {};

TEST_F(SafeCopyOnWineTest, TheCopyOnARemovableDriveEqualsTheImage) {
    MapDrive('E');
    for (const std::size_t size : {0u, 40960u, 300001u}) {
        SCOPED_TRACE(size);
        const std::string image = ChooseImage(size);
        const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
        EXPECT_EQ(outcome.failure, CopyFailure::None) << outcome.errorCode;
        EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), image);
        EXPECT_FALSE(Exists("E:\\tolvr500.tmp"));
    }
}

TEST_F(SafeCopyOnWineTest, AnExistingFileAndAStaleTemporaryFileAreReplaced) {
    MapDrive('E');
    WriteFile("E:\\tolvr500.rom", std::string(500000, 'o'));
    WriteFile("E:\\tolvr500.tmp", std::string(700000, 't'));
    const std::string image = ChooseImage(123457);
    EXPECT_TRUE(CopyImageToDrive(Job(), 'E').Succeeded());
    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), image);
    EXPECT_FALSE(Exists("E:\\tolvr500.tmp"));
}

TEST_F(SafeCopyOnWineTest, AFileHeldOpenByAnotherProgramStaysUntouched) {
    MapDrive('E');
    WriteFile("E:\\tolvr500.rom", "old firmware");
    ChooseImage(100000);
    // Held without delete sharing, the old file cannot be replaced: the rename fails.
    const HANDLE held = ::CreateFileA("E:\\tolvr500.rom", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const CopyOutcome outcome = CopyImageToDrive(Job(), 'E');
    ::CloseHandle(held);
    EXPECT_EQ(outcome.failure, CopyFailure::ReplaceFailed);
    EXPECT_EQ(outcome.errorCode, ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), "old firmware");
    EXPECT_FALSE(Exists("E:\\tolvr500.tmp"));
}

} // namespace
