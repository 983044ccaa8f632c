// Volumes, the registry and text conversion as the program's discovery uses them.
#include "ContractMachine.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "tests/common/SystemValues.h"

#include <cstring>
#include <string>

namespace {

using VolumeContract = ContractMachine;
using RegistryContract = ContractMachine;
using TextContract = ContractMachine;

// The roots GetLogicalDriveStringsA lists.
std::vector<std::string> DriveRoots() {
    char buffer[512];
    const std::uint32_t length = platform::GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_GT(length, 0u);
    EXPECT_EQ(buffer[length], '\0') << "a second NUL ends the list";
    std::vector<std::string> roots;
    for (const char* root = buffer; *root != '\0'; root += std::strlen(root) + 1) {
        roots.emplace_back(root);
    }
    return roots;
}

bool Listed(const std::string& root) {
    const auto roots = DriveRoots();
    return std::find(roots.begin(), roots.end(), root) != roots.end();
}

TEST_F(VolumeContract, LogicalDriveStringsListEveryLetterAsItsRootInLetterOrder) {
    MapDrive('W');
    MapDrive('U');
    EXPECT_TRUE(Listed("U:\\"));
    EXPECT_TRUE(Listed("W:\\"));
    const auto roots = DriveRoots();
    const auto position = [&roots](const char* root) {
        return std::find(roots.begin(), roots.end(), root) - roots.begin();
    };
    EXPECT_LT(position("U:\\"), position("W:\\"))
        << "the players are served in this order, whatever order they came in";
    char tiny[4] = {'#', '#', '#', '#'};
    EXPECT_GT(platform::GetLogicalDriveStringsA(sizeof tiny, tiny), sizeof tiny) << "the length needed";
    EXPECT_EQ(tiny[0], '#') << "a buffer too small stays untouched";
    UnplugDrive('W');
    EXPECT_FALSE(Listed("W:\\"));
}

TEST_F(VolumeContract, DriveTypesTellRemovableFromFixedAndMissing) {
    MapDrive('U');
    MapDrive('V', DRIVE_FIXED);
    EXPECT_EQ(platform::GetDriveTypeA("U:\\"), DRIVE_REMOVABLE);
    EXPECT_EQ(platform::GetDriveTypeA("V:\\"), DRIVE_FIXED);
    EXPECT_EQ(platform::GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
}

TEST_F(VolumeContract, FreeSpaceOfADriveOrAFailureThatLeavesTheFiguresAlone) {
    MapDrive('U');
    std::uint64_t available = 0, total = 0, free = 0;
    ASSERT_TRUE(platform::GetDiskFreeSpaceExA("U:\\", &available, &total, &free));
    EXPECT_GT(free, 0u);
    EXPECT_LE(free, total);
    EXPECT_LE(available, free);
    ASSERT_TRUE(platform::GetDiskFreeSpaceExA("U:\\", nullptr, nullptr, &free))
        << "out-values may be left out";
    free = 77;
    EXPECT_FALSE(platform::GetDiskFreeSpaceExA("Q:\\", &available, &total, &free));
    EXPECT_EQ(platform::GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(free, 77u);
}

TEST_F(VolumeContract, SectorSizeOfADriveOrAFailureThatLeavesTheFiguresAlone) {
    MapDrive('U');
    std::uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(
        platform::GetDiskFreeSpaceA("U:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
    EXPECT_GE(sectorsPerCluster, 1u);
    EXPECT_GE(bytesPerSector, 512u);
    EXPECT_LE(freeClusters, clusters);
    bytesPerSector = 77;
    EXPECT_FALSE(platform::GetDiskFreeSpaceA("Q:\\", nullptr, &bytesPerSector, nullptr, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(bytesPerSector, 77u);
}

TEST_F(VolumeContract, ADriveWithoutAMediumIsListedAndFailsEveryCallOnIt) {
    MapDrive('U');
    PutFile('U', "sys_conf.qtx", "1.1.5E");
    RemoveMedium('U');
    EXPECT_TRUE(Listed("U:\\"));
    EXPECT_EQ(platform::GetDriveTypeA("U:\\"), DRIVE_REMOVABLE);
    // Windows answers an empty slot with ERROR_NOT_READY; Wine, whose letter leads to a folder that
    // has gone, as it answers a missing folder or file.
    const long noFolder = UnderWine() ? ERROR_PATH_NOT_FOUND : ERROR_NOT_READY;
    const long noFile = UnderWine() ? ERROR_FILE_NOT_FOUND : ERROR_NOT_READY;
    EXPECT_EQ(platform::FindFirstFileA("U:\\sys_conf.qtx"), nullptr);
    EXPECT_EQ(platform::GetLastError(), noFolder);
    std::uint64_t free = 0;
    EXPECT_FALSE(platform::GetDiskFreeSpaceExA("U:\\", nullptr, nullptr, &free));
    EXPECT_EQ(platform::GetLastError(), noFolder);
    long error = 0;
    platform::File file;
    EXPECT_FALSE(file.Open("U:\\sys_conf.qtx", platform::File::Mode::ReadShared, &error));
    EXPECT_EQ(error, noFile);
    EXPECT_FALSE(platform::DeleteFileA("U:\\tolvr500.tmp"));
    EXPECT_EQ(platform::GetLastError(), noFile);
}

class RegistryKey {
public:
    explicit RegistryKey(long* status) {
        *status = platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine, kContractKey, 0,
                                          KEY_QUERY_VALUE, &key_);
    }
    ~RegistryKey() {
        if (key_ != nullptr) {
            platform::RegCloseKey(key_);
        }
    }
    // The status of reading `name` into a buffer of `capacity` bytes, which starts filled with 'Z'.
    long Query(const char* name, std::uint32_t capacity, std::string* data, std::uint32_t* size) {
        std::string buffer(capacity, 'Z');
        *size = capacity;
        std::uint32_t type = 0;
        const long status = platform::RegQueryValueExA(key_, name, &type,
                                                       reinterpret_cast<unsigned char*>(buffer.data()), size);
        if (status == ERROR_SUCCESS) {
            EXPECT_EQ(type, 1u) << "REG_SZ";
        }
        *data = buffer;
        return status;
    }

private:
    platform::RegistryKey key_ = nullptr;
};

TEST_F(RegistryContract, AMissingKeyOrValueIsNotFound) {
    long status = 0;
    platform::RegistryKey key = nullptr;
    EXPECT_EQ(platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine,
                                      "SOFTWARE\\TolvoUpdaterContract\\Missing", 0, KEY_QUERY_VALUE, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    SetRegistryValue("0", "USBSTOR\\Disk");
    RegistryKey opened(&status);
    ASSERT_EQ(status, ERROR_SUCCESS);
    std::string data;
    std::uint32_t size = 0;
    EXPECT_EQ(opened.Query("1", 260, &data, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryContract, AValueFitsWithItsNulOrTellsItsLengthAndLeavesTheBuffer) {
    SetRegistryValue("0", "USBSTOR\\Disk&Ven_QuorVex");
    SetRegistryValue("1", std::string(259, 'y'));
    SetRegistryValue("2", std::string(300, 'x'));
    long status = 0;
    RegistryKey key(&status);
    ASSERT_EQ(status, ERROR_SUCCESS);
    std::string data;
    std::uint32_t size = 0;
    ASSERT_EQ(key.Query("0", 260, &data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 25u);
    EXPECT_EQ(data.substr(0, 25), std::string("USBSTOR\\Disk&Ven_QuorVex\0", 25));
    EXPECT_EQ(key.Query("1", 260, &data, &size), ERROR_SUCCESS) << "259 characters and the NUL fit exactly";
    EXPECT_EQ(size, 260u);
    EXPECT_EQ(key.Query("2", 260, &data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 301u);
    EXPECT_EQ(data, std::string(260, 'Z'));
}

TEST_F(RegistryContract, SystemTextOfAnErrorIsALineOrNothing) {
    const std::string text = platform::FormatMessageA(ERROR_FILE_NOT_FOUND);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(platform::FormatMessageA(0x2A5F7), "") << "a code the system has no text for";
}

// The program's manifest asks for UTF-8 as its ANSI code page, and the test programs carry it too.
TEST_F(TextContract, WideTextBecomesUtf8TheProgramsAnsiCodePage) {
    const char16_t wide[] = {u'Q', 0x00E9, 0x20AC, 0x4E2D, 0xD83D, 0xDE00, u'1', 0};
    char narrow[24];
    std::memset(narrow, '#', sizeof narrow);
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 8, narrow, sizeof narrow), 15);
    EXPECT_EQ(std::string(narrow, 16), std::string("Q\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\xF0\x9F\x98\x80"
                                                   "1\0#",
                                                   16));
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 8, nullptr, 0), 15) << "capacity 0 asks for the size";
    EXPECT_EQ(platform::wcslen(wide), 7u);
}

TEST_F(TextContract, ALoneSurrogateBecomesTheReplacementCharacter) {
    const char16_t wide[] = {u'a', 0xDC00, u'b', 0xD800, 0};
    char narrow[16] = {};
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 5, narrow, sizeof narrow), 9);
    EXPECT_EQ(std::string(narrow, 9), std::string("a\xEF\xBF\xBD"
                                                  "b\xEF\xBF\xBD\0",
                                                  9));
}

TEST_F(TextContract, TooSmallABufferFailsWithoutWritingPastIt) {
    const char16_t wide[] = u"Vendor: Qtx Labs";
    char narrow[8];
    std::memset(narrow, '#', sizeof narrow);
    EXPECT_EQ(platform::WideCharToMultiByte(wide, 17, narrow, 4), 0);
    EXPECT_EQ(platform::GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(narrow[4], '#');
}

} // namespace
