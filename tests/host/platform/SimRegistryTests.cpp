#include "SystemServicesFixture.h"
#include "platform/Errors.h"
#include "platform/Registry.h"

#include <cstring>
#include <string>

namespace {

constexpr char kKey[] = "SYSTEM\\CurrentControlSet\\Services\\Disk\\Enum";

class SimRegistryTest : public SystemServicesTest {
protected:
    platform::RegistryKey OpenKey() {
        platform::RegistryKey key = nullptr;
        EXPECT_EQ(
            platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine, kKey, 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
        return key;
    }
};

TEST_F(SimRegistryTest, MissingOrRefusedKeyDoesNotOpen) {
    platform::RegistryKey key = nullptr;
    EXPECT_EQ(platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine, kKey, 0, KEY_QUERY_VALUE, &key),
              ERROR_FILE_NOT_FOUND);
    platform::sim::CreateRegistryKey(kKey);
    platform::sim::FailRegistryOpen(kKey, ERROR_ACCESS_DENIED);
    EXPECT_EQ(platform::RegOpenKeyExA(platform::RegistryRoot::LocalMachine, kKey, 0, KEY_QUERY_VALUE, &key),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
}

TEST_F(SimRegistryTest, QueriesAnswerAsTheSystemDoes) {
    platform::sim::SetRegistryValue(kKey, "0", "USBSTOR\\Disk&Ven_A");
    platform::sim::SetRegistryValue(kKey, "1", std::string(300, 'x'));
    platform::sim::SetRegistryValue(kKey, "2", std::string(259, 'y'));
    platform::sim::SetRegistryValue(kKey, "3", "denied");
    platform::sim::FailRegistryQuery(kKey, "3", ERROR_ACCESS_DENIED);
    platform::RegistryKey key = OpenKey();

    unsigned char data[260];
    std::uint32_t size = sizeof data;
    std::memset(data, 0x5A, sizeof data);
    ASSERT_EQ(platform::RegQueryValueExA(key, "0", nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "USBSTOR\\Disk&Ven_A");
    EXPECT_EQ(size, 19u);

    std::memset(data, 0x5A, sizeof data);
    size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "1", nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 301u);
    EXPECT_EQ(data[0], 0x5A) << "a value that does not fit leaves the buffer untouched";

    size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "2", nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 260u);

    std::memset(data, 0x5A, sizeof data);
    size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "3", nullptr, data, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(data[0], 0x5A);
    EXPECT_EQ(platform::RegQueryValueExA(key, "4", nullptr, data, &size), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(platform::sim::RegistryQueryCount(), 5);
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(SimRegistryTest, KeyPathsAndValueNamesIgnoreCase) {
    platform::sim::SetRegistryValue("system\\currentcontrolset\\services\\disk\\enum", "Count", "x");
    platform::RegistryKey key = OpenKey();
    unsigned char data[8] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "COUNT", nullptr, data, &size), ERROR_SUCCESS);
    platform::RegCloseKey(key);
}

TEST_F(SimRegistryTest, SystemTextOfAnErrorEndsWithALineBreak) {
    EXPECT_EQ(platform::FormatMessageA(ERROR_ACCESS_DENIED), "Access is denied.\r\n");
    EXPECT_EQ(platform::FormatMessageA(99999), "");
}

} // namespace
