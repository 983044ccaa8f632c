#include "SystemServicesFixture.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/LastError.h"

#include <string>
#include <vector>

using platform::File;
using platform::FileError;

namespace {

class SimFileTest : public SystemServicesTest {};

// The error code a call throws, or 0 when it does not throw FileError.
template <typename Call> long ThrownCode(Call call) {
    try {
        call();
    } catch (const FileError& error) {
        return error.Code();
    }
    return 0;
}

TEST_F(SimFileTest, ReadsAFileOnAMappedDriveThroughItsDrivePath) {
    const auto folder = MapDrive('E');
    WriteBytes(folder / "sys_conf.qtx", "1.1.5E");
    File file;
    ASSERT_TRUE(file.Open("E:\\sys_conf.qtx", File::Mode::ReadShared));
    EXPECT_EQ(file.GetLength(), 6u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 6u);
    EXPECT_EQ(std::string(buffer), "1.1.5E");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u) << "at the end a read returns no bytes";
}

TEST_F(SimFileTest, NonThrowingOpenReportsWhyItFailed) {
    const auto folder = MapDrive('E');
    WriteBytes(folder / "held.dat", "x");
    platform::sim::LockFile("E:\\held.dat");
    struct Case {
        std::string path;
        long expected;
    };
    const Case cases[] = {
        {"E:\\missing.dat", ERROR_FILE_NOT_FOUND},
        {"Q:\\anything.dat", ERROR_PATH_NOT_FOUND},
        {"E:\\held.dat", ERROR_SHARING_VIOLATION},
        {"E:\\", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        File file;
        long error = 0;
        EXPECT_FALSE(file.Open(c.path, File::Mode::ReadShared, &error)) << c.path;
        EXPECT_EQ(error, c.expected) << c.path;
        EXPECT_EQ(platform::GetLastError(), c.expected) << c.path;
        EXPECT_FALSE(file.IsOpen());
    }
}

TEST_F(SimFileTest, ThrowingOpenCarriesPathAndCode) {
    MapDrive('E');
    File file;
    try {
        file.OpenOrThrow("E:\\missing.dat", File::Mode::ReadShared);
        FAIL() << "no error thrown";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), "E:\\missing.dat");
        EXPECT_EQ(error.Code(), ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(SimFileTest, CreateWriteTruncatesAndSetLengthMovesThePosition) {
    const auto folder = MapDrive('E');
    WriteBytes(folder / "out.rom", "old content that is long");
    File file;
    file.OpenOrThrow("E:\\out.rom", File::Mode::CreateWrite);
    EXPECT_EQ(file.GetLength(), 0u);
    file.SetLength(4);
    file.Write("ab", 2);
    file.SeekToBegin();
    file.Write("XY", 2);
    file.Flush();
    file.Close();
    file.Close(); // closing twice is harmless
    EXPECT_EQ(ReadBytes(folder / "out.rom"), std::string("XY\0\0ab", 6));
}

TEST_F(SimFileTest, OperationsOnAClosedFileThrowInvalidHandle) {
    File file;
    char byte = 0;
    EXPECT_EQ(ThrownCode([&] { file.Read(&byte, 1); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { file.Write(&byte, 1); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { file.GetLength(); }), ERROR_INVALID_HANDLE);
}

TEST_F(SimFileTest, FullDiskFailsOrComesBackShortAndBothThrow) {
    const auto folder = MapDrive('E');
    for (const auto behaviour : {platform::sim::FullDisk::FailsWrite, platform::sim::FullDisk::ShortWrite}) {
        platform::sim::SetWriteBudget('E', 10, behaviour);
        File file;
        file.OpenOrThrow("E:\\out.rom", File::Mode::CreateWrite);
        file.Write("123456", 6);
        EXPECT_EQ(ThrownCode([&] { file.Write("abcdef", 6); }), ERROR_DISK_FULL);
        file.Close();
        const std::string stored = ReadBytes(folder / "out.rom");
        EXPECT_EQ(stored, behaviour == platform::sim::FullDisk::FailsWrite ? "123456" : "123456abcd");
    }
}

TEST_F(SimFileTest, UnpluggedDriveFailsTheCrossingWriteAndEverythingAfter) {
    const auto folder = MapDrive('E');
    platform::sim::UnplugAfterBytes('E', 8);
    File file;
    file.OpenOrThrow("E:\\out.rom", File::Mode::CreateWrite);
    file.Write("12345", 5);
    EXPECT_EQ(ThrownCode([&] { file.Write("abcde", 5); }), ERROR_NOT_READY);
    EXPECT_EQ(ThrownCode([&] { file.Flush(); }), ERROR_NOT_READY);
    EXPECT_EQ(ThrownCode([&] { file.SetLength(1); }), ERROR_NOT_READY);
    file.Close();
    EXPECT_EQ(ReadBytes(folder / "out.rom"), "12345abc");
    File again;
    long error = 0;
    EXPECT_FALSE(again.Open("E:\\out.rom", File::Mode::ReadShared, &error));
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

TEST_F(SimFileTest, MoveReplacesOnlyWhenAskedAndNeverOntoAHeldFile) {
    const auto folder = MapDrive('E');
    WriteBytes(folder / "new.tmp", "new");
    WriteBytes(folder / "target.rom", "old");
    EXPECT_FALSE(platform::MoveFileExA("E:\\new.tmp", "E:\\target.rom", 0));
    EXPECT_EQ(ReadBytes(folder / "target.rom"), "old");

    platform::sim::LockFile("E:\\target.rom");
    EXPECT_FALSE(platform::MoveFileExA("E:\\new.tmp", "E:\\target.rom", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);

    WriteBytes(folder / "other.rom", "old");
    EXPECT_TRUE(platform::MoveFileExA("E:\\new.tmp", "E:\\other.rom",
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(ReadBytes(folder / "other.rom"), "new");
    EXPECT_FALSE(std::filesystem::exists(folder / "new.tmp"));

    EXPECT_TRUE(platform::DeleteFileA("E:\\other.rom"));
    EXPECT_FALSE(std::filesystem::exists(folder / "other.rom"));
    EXPECT_FALSE(platform::DeleteFileA("E:\\other.rom"));
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(SimFileTest, HostPathsAreUsedAsTheyAre) {
    const auto path = temp_.Path() / "image.rom";
    WriteBytes(path, "image");
    File file;
    ASSERT_TRUE(file.Open(path.string(), File::Mode::ReadShared));
    EXPECT_EQ(file.GetLength(), 5u);
}

} // namespace
