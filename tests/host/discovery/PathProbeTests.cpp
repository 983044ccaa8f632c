#include "DiscoveryFixture.h"
#include "discovery/PathProbe.h"

namespace {

class PathProbeTest : public DiscoveryTest {};

TEST_F(PathProbeTest, ExistsOnlyForFilesThatAreThere) {
    MapDrive('E');
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    EXPECT_TRUE(PathProbe("E:\\sys_conf.qtx").Exists());
    EXPECT_FALSE(PathProbe("E:\\DEVCERT.DAT").Exists());
    EXPECT_FALSE(PathProbe("F:\\sys_conf.qtx").Exists()) << "a letter that is not mapped";
}

} // namespace
