// Files as the program opens, reads, writes, replaces and deletes them on a player.
#include "ContractMachine.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "tests/common/SystemValues.h"

#include <memory>
#include <string>
#include <vector>

using platform::File;
using platform::FileError;

namespace {

using FileContract = ContractMachine;

constexpr std::uint32_t kBuffer = 40960; // the copy's buffer
constexpr long kErrorAlreadyExists = 183;

// The error code a call throws, or 0 when it does not throw FileError.
template <typename Call> long ThrownCode(Call call) {
    try {
        call();
    } catch (const FileError& error) {
        return error.Code();
    }
    return 0;
}

std::string Bytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    return bytes;
}

TEST_F(FileContract, OpenFailuresCarryTheSystemCode) {
    // A letter nobody mapped: Windows, and the simulation, answer ERROR_PATH_NOT_FOUND; Wine 8 says
    // ERROR_FILE_NOT_FOUND. The program only shows the code.
    const long kNoSuchLetter = UnderWine() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    // A name longer than a folder entry holds: the simulation says ERROR_FILENAME_EXCED_RANGE, Wine 8
    // ERROR_FILE_NOT_FOUND.
    const long kTooLong = UnderWine() ? ERROR_FILE_NOT_FOUND : ERROR_FILENAME_EXCED_RANGE;
    MapDrive('U');
    struct Case {
        std::string path;
        long expected;
    };
    const Case cases[] = {
        {"U:\\missing.dat", ERROR_FILE_NOT_FOUND},
        {"U:\\no folder\\missing.dat", ERROR_PATH_NOT_FOUND},
        {"Q:\\anything.dat", kNoSuchLetter},
        {"U:\\", ERROR_ACCESS_DENIED}, // a folder is no file
        {"\\\\?\\", ERROR_INVALID_NAME},
        {"U:\\r5xx-1.1.6E.rom\"", ERROR_INVALID_NAME}, // a quote left from a command line
        {"U:\\" + std::string(32000, 'x'), kTooLong},
    };
    for (const Case& c : cases) {
        File file;
        long error = 0;
        EXPECT_FALSE(file.Open(c.path, File::Mode::ReadShared, &error)) << c.path;
        EXPECT_EQ(error, c.expected) << c.path;
        EXPECT_EQ(platform::GetLastError(), c.expected) << c.path;
        EXPECT_FALSE(file.IsOpen());
    }
    File file;
    try {
        file.OpenOrThrow("U:\\missing.dat", File::Mode::ReadShared);
        ADD_FAILURE() << "no error thrown";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), "U:\\missing.dat");
        EXPECT_EQ(error.Code(), ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(FileContract, APathOfMaxPathOrMoreOpensWhereTheAnsiCallsRefuseIt) {
    MapDrive('U');
    PutFile('U', "image.rom", "deep");
    std::string path = "U:\\";
    while (path.size() < MAX_PATH) {
        path += ".\\"; // names to a `\\?\` path, unless made full first
    }
    path += "image.rom";
    EXPECT_EQ(platform::FindFirstFileA(path.c_str()), nullptr);
    EXPECT_EQ(platform::GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_FALSE(platform::DeleteFileA(path.c_str()));
    EXPECT_EQ(platform::GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    File file;
    long error = 0;
    ASSERT_TRUE(file.Open(path, File::Mode::ReadShared, &error)) << "error " << error;
    char bytes[8] = {};
    EXPECT_EQ(std::string(bytes, file.Read(bytes, sizeof bytes)), "deep");
}

TEST_F(FileContract, ReadersShareAFileAndAWriterHoldsItAlone) {
    MapDrive('U');
    PutFile('U', "shared.dat", "abc");
    File first, second, writer;
    ASSERT_TRUE(first.Open("U:\\shared.dat", File::Mode::ReadShared));
    EXPECT_TRUE(second.Open("U:\\shared.dat", File::Mode::ReadShared));
    long error = 0;
    EXPECT_FALSE(writer.Open("U:\\shared.dat", File::Mode::CreateWrite, &error)) << "readers are there";
    EXPECT_EQ(error, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(FileContent('U', "shared.dat"), "abc") << "a refused writer truncates nothing";
    first.Close();
    second.Close();
    ASSERT_TRUE(writer.Open("U:\\shared.dat", File::Mode::CreateWrite));
    EXPECT_FALSE(first.Open("U:\\shared.dat", File::Mode::ReadShared, &error)) << "the writer shares nothing";
    EXPECT_EQ(error, ERROR_SHARING_VIOLATION);
}

TEST_F(FileContract, ReadsEndAtTheEndOfTheFileAcrossBufferBoundaries) {
    MapDrive('U');
    for (const std::size_t size : {std::size_t{2} * kBuffer + 1, std::size_t{kBuffer}, std::size_t{0}}) {
        SCOPED_TRACE(size);
        const std::string content = Bytes(size);
        PutFile('U', "image.rom", content);
        File file;
        file.OpenOrThrow("U:\\image.rom", File::Mode::ReadShared);
        EXPECT_EQ(file.GetLength(), size);
        std::string read;
        std::vector<char> buffer(kBuffer);
        std::vector<std::uint32_t> counts;
        do {
            counts.push_back(file.Read(buffer.data(), kBuffer));
            read.append(buffer.data(), counts.back());
        } while (counts.back() == kBuffer);
        EXPECT_EQ(read, content);
        EXPECT_EQ(counts.size(), size / kBuffer + 1) << "a full buffer is followed by one more read";
        EXPECT_EQ(file.Read(buffer.data(), kBuffer), 0u) << "at the end a read returns no bytes";
    }
}

// The sector size of drive U:, which the test then reads in steps of.
std::uint32_t SectorBytesOfU() {
    std::uint32_t bytesPerSector = 0;
    EXPECT_TRUE(platform::GetDiskFreeSpaceA("U:\\", nullptr, &bytesPerSector, nullptr, nullptr));
    return bytesPerSector;
}

// `count` bytes inside `storage` starting at a whole multiple of `alignment`.
char* Aligned(std::vector<char>& storage, std::size_t count, std::size_t alignment) {
    storage.resize(count + alignment);
    const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
    return storage.data() + (alignment - address % alignment) % alignment;
}

TEST_F(FileContract, AnUnbufferedReadInWholeSectorsReachesTheEndOfAFileOfPartSectors) {
    MapDrive('U');
    const std::uint32_t sector = SectorBytesOfU();
    ASSERT_GE(sector, 512u);
    ASSERT_EQ(sector & (sector - 1), 0u) << "a power of two: " << sector;
    const std::string content = Bytes(3 * sector + 100);
    PutFile('U', "copy.tmp", content);
    File file;
    file.OpenOrThrow("U:\\copy.tmp", File::Mode::ReadUnbuffered);
    EXPECT_EQ(file.GetLength(), content.size());
    std::vector<char> storage;
    char* buffer = Aligned(storage, 2 * sector, sector);
    ASSERT_EQ(file.Read(buffer, 2 * sector), 2 * sector);
    std::string read(buffer, 2 * sector);
    ASSERT_EQ(file.Read(buffer, 2 * sector), sector + 100) << "asked past the end, the read ends there";
    read.append(buffer, sector + 100);
    EXPECT_EQ(read, content);
}

TEST_F(FileContract, AnUnbufferedReadOffTheSectorsIsRefused) {
    // As Windows documents it, and so the simulation holds the program to it; Wine 8 lets every one
    // of these reads through.
    const long kRefused = UnderWine() ? 0 : ERROR_INVALID_PARAMETER;
    MapDrive('U');
    const std::uint32_t sector = SectorBytesOfU();
    ASSERT_GT(sector, 1u);
    PutFile('U', "copy.tmp", Bytes(2 * sector + 1));
    std::vector<char> storage;
    char* buffer = Aligned(storage, 4 * sector, sector);
    const auto opened = [] {
        auto file = std::make_unique<File>();
        file->OpenOrThrow("U:\\copy.tmp", File::Mode::ReadUnbuffered);
        return file;
    };
    EXPECT_EQ(ThrownCode([&] { opened()->Read(buffer + 1, sector); }), kRefused) << "a buffer off a sector";
    EXPECT_EQ(ThrownCode([&] { opened()->Read(buffer, sector + 1); }), kRefused)
        << "a length of part sectors";
    const auto atTheEnd = opened();
    ASSERT_EQ(atTheEnd->Read(buffer, 4 * sector), 2 * sector + 1);
    EXPECT_EQ(ThrownCode([&] { atTheEnd->Read(buffer, sector); }), kRefused)
        << "from a position off a sector";
}

TEST_F(FileContract, WriterSetsTheLengthFirstThenWritesWholeBuffersAndAnEmptyLast) {
    MapDrive('U');
    PutFile('U', "target.rom", "an older and longer file that the create truncates");
    const std::string content = Bytes(2 * kBuffer);
    {
        File file;
        file.OpenOrThrow("U:\\target.rom", File::Mode::CreateWrite);
        EXPECT_EQ(file.GetLength(), 0u) << "an existing file is truncated";
        file.SetLength(content.size());
        EXPECT_EQ(file.GetLength(), content.size());
        file.SeekToBegin();
        file.Write(content.data(), kBuffer);
        file.Write(content.data() + kBuffer, kBuffer);
        file.Write(content.data(), 0);
        file.Flush();
    }
    EXPECT_EQ(FileContent('U', "target.rom"), content);
}

TEST_F(FileContract, SetLengthPadsWithZerosAndMovesThePosition) {
    MapDrive('U');
    File file;
    file.OpenOrThrow("U:\\out.rom", File::Mode::CreateWrite);
    file.SetLength(4);
    file.Write("ab", 2);
    file.SeekToBegin();
    file.Write("XY", 2);
    file.Close();
    file.Close(); // closing twice is harmless
    EXPECT_EQ(FileContent('U', "out.rom"), std::string("XY\0\0ab", 6));
}

TEST_F(FileContract, EveryOperationOnAClosedFileThrowsInvalidHandle) {
    File file;
    char byte = 0;
    EXPECT_EQ(ThrownCode([&] { file.Read(&byte, 1); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { file.Write(&byte, 1); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { file.GetLength(); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { file.Flush(); }), ERROR_INVALID_HANDLE);
}

TEST_F(FileContract, RenameReplacesOnlyWhenAskedAndNeverAFileSomeoneHolds) {
    MapDrive('U');
    PutFile('U', "new.tmp", "new");
    PutFile('U', "target.rom", "old");
    EXPECT_FALSE(platform::MoveFileExA("U:\\new.tmp", "U:\\target.rom", 0));
    EXPECT_EQ(platform::GetLastError(), kErrorAlreadyExists);
    constexpr unsigned kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    {
        File holder;
        ASSERT_TRUE(holder.Open("U:\\target.rom", File::Mode::ReadShared));
        EXPECT_FALSE(platform::MoveFileExA("U:\\new.tmp", "U:\\target.rom", kReplace));
        EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(FileContent('U', "target.rom"), "old");
    EXPECT_TRUE(platform::MoveFileExA("U:\\new.tmp", "U:\\target.rom", kReplace));
    EXPECT_EQ(FileContent('U', "target.rom"), "new");
    EXPECT_FALSE(FileExists('U', "new.tmp"));
}

TEST_F(FileContract, DeleteRemovesOnceAndNotWhileAWriterHoldsTheFile) {
    MapDrive('U');
    PutFile('U', "old.tmp", "x");
    {
        File writer;
        writer.OpenOrThrow("U:\\old.tmp", File::Mode::CreateWrite);
        EXPECT_FALSE(platform::DeleteFileA("U:\\old.tmp"));
        EXPECT_EQ(platform::GetLastError(), ERROR_SHARING_VIOLATION);
    }
    EXPECT_TRUE(platform::DeleteFileA("U:\\old.tmp"));
    EXPECT_FALSE(FileExists('U', "old.tmp"));
    EXPECT_FALSE(platform::DeleteFileA("U:\\old.tmp"));
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileContract, FindFirstFileFindsOnlyWhatIsThere) {
    MapDrive('U');
    PutFile('U', "DEVCERT.DAT", "x");
    const platform::FindHandle found = platform::FindFirstFileA("U:\\DEVCERT.DAT");
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(platform::FindClose(found));
    EXPECT_EQ(platform::FindFirstFileA("U:\\sys_conf.qtx"), nullptr);
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::FindFirstFileA("Q:\\sys_conf.qtx"), nullptr);
    EXPECT_EQ(platform::GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileContract, AnUnpluggedPlayerLeavesItsPathsAndAReplugIsANewMedium) {
    MapDrive('U');
    PutFile('U', "tolvr500.tmp", "12345");
    File held;
    held.OpenOrThrow("U:\\tolvr500.tmp", File::Mode::ReadShared);
    UnplugDrive('U');
    File again;
    long error = 0;
    EXPECT_FALSE(again.Open("U:\\tolvr500.tmp", File::Mode::ReadShared, &error));
    EXPECT_EQ(error, UnderWine() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND)
        << "as for a letter never mapped";
    // On Windows a removed device fails the files open on it, and the simulation does the same, so
    // the program's handling of it is tested; Wine's letter is a folder whose open files live on.
    char buffer[8] = {};
    const long readError = ThrownCode([&] { held.Read(buffer, sizeof buffer); });
    EXPECT_EQ(readError, UnderWine() ? 0 : ERROR_NOT_READY);
    PlugAgain('U');
    ASSERT_TRUE(again.Open("U:\\tolvr500.tmp", File::Mode::ReadShared)) << "the new medium opens";
    EXPECT_EQ(again.Read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(ThrownCode([&] { held.GetLength(); }), readError) << "the old file stays as it was";
}

} // namespace
