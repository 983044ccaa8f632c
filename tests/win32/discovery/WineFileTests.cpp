#include "WineDiscoveryFixture.h"
#include "platform/File.h"
#include "platform/LastError.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

using platform::File;
using platform::FileError;

class WineFileTest : public WineDiscoveryTest {
protected:
    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(WineFileTest, OpenFailuresCarryTheSystemCode) {
    MapDrive('U');
    File file;
    long error = 0;
    EXPECT_FALSE(file.Open("U:\\missing.dat", File::Mode::ReadShared, &error));
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    try {
        file.OpenOrThrow("U:\\missing.dat", File::Mode::ReadShared);
        FAIL() << "no error thrown";
    } catch (const FileError& failure) {
        EXPECT_EQ(failure.Path(), "U:\\missing.dat");
        EXPECT_EQ(failure.Code(), ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(WineFileTest, WriteSetLengthSeekAndReadBack) {
    MapDrive('V');
    PutFile('V', "out.rom", "old content, longer than the new one");
    {
        File file;
        file.OpenOrThrow("V:\\out.rom", File::Mode::CreateWrite);
        EXPECT_EQ(file.GetLength(), 0u) << "an existing file is truncated";
        file.SetLength(6);
        file.SeekToBegin();
        file.Write("abc", 3);
        file.Flush();
    }
    EXPECT_EQ(Content("V:\\out.rom"), std::string("abc\0\0\0", 6));
    File reader;
    ASSERT_TRUE(reader.Open("V:\\out.rom", File::Mode::ReadShared));
    File second;
    EXPECT_TRUE(second.Open("V:\\out.rom", File::Mode::ReadShared)) << "readers share the file";
    char buffer[16] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 6u);
}

TEST_F(WineFileTest, RenameReplacesButNotWhileTheTargetIsHeld) {
    MapDrive('W');
    PutFile('W', "new.tmp", "new");
    PutFile('W', "target.rom", "old");
    {
        File holder;
        ASSERT_TRUE(holder.Open("W:\\target.rom", File::Mode::ReadShared));
        EXPECT_FALSE(platform::MoveFileExA("W:\\new.tmp", "W:\\target.rom",
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
        EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
    }
    EXPECT_TRUE(platform::MoveFileExA("W:\\new.tmp", "W:\\target.rom",
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(Content("W:\\target.rom"), "new");
    EXPECT_TRUE(platform::DeleteFileA("W:\\target.rom"));
    EXPECT_FALSE(platform::DeleteFileA("W:\\target.rom"));
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
}

} // namespace
