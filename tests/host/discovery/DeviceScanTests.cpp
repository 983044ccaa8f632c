#include "DiscoveryFixture.h"
#include "discovery/DeviceScan.h"
#include "platform/Errors.h"
#include "tests/common/ProgramTexts.h"
#include "tests/common/SystemValues.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

namespace sim = platform::sim;

class DeviceScanTest : public DiscoveryTest {
protected:
    void SetUp() override {
        DiscoveryTest::SetUp();
        // A located player whose version read always refuses, so each read shows exactly one box.
        MapDrive('E');
        PutFile('E', "sys_conf.qtx", "1.1.9E");
        ctx.deviceInfoPath.Set("E:\\sys_conf.qtx");
    }
    void Disk(int index, const std::string& id) {
        platform::sim::SetRegistryValue(kDiskEnumKey, std::to_string(index), id);
    }
    // Every later query of value `index` fails with `error`; 0 ends the fault.
    void FailQuery(int index, long error) {
        queryFaults_[std::string(kDiskEnumKey) + '\\' + std::to_string(index)] = error;
    }
    int VersionReads() const {
        const std::vector<std::string> refusals = window_->Of("refuse run");
        return static_cast<int>(std::count(refusals.begin(), refusals.end(), DowngradeText("1.1.9E")));
    }
    // The texts of the system shown for failed queries.
    std::vector<std::string> RegistryBoxes() const { return window_->Of("system message"); }

    // The registry's faults and the count of value queries, kept through the machine's call hook.
    long openFault_ = 0;
    std::map<std::string, long> queryFaults_; // by key path and value name
    int queries_ = 0;
    sim::ScopedCallHook registry_{[this](const sim::Call& call) {
        if (call.kind == sim::CallKind::RegistryOpen) {
            return openFault_;
        }
        if (call.kind != sim::CallKind::RegistryQuery) {
            return 0L;
        }
        ++queries_;
        const auto fault = queryFaults_.find(call.path);
        return fault == queryFaults_.end() ? 0L : fault->second;
    }};
};

TEST_F(DeviceScanTest, EachIdentityIsFoundWhateverTheRevisionSerialAndCaseAndNearMissesAreNot) {
    struct Row {
        const char* id;
        bool isPlayer;
    };
    const Row rows[] = {
        {"USBSTOR\\DISK&VEN_QUORVEX&PROD_TOLVO_R5XX&REV_1.00\\0000012345&0", true},
        {"usbstor\\disk&ven_quorvex&prod_tolvo_r520&rev_9.99\\ABCDEF&0", true},
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r530&R", true},
        {"USBSTOR\\Disk&Ven_quorVEX&Prod_Tolvo_R540&Rev_0001\\7&2f3a&0&0", true},
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r550&Rxx", true},
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&Rev_2.10\\SERIAL&0", true},
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r570&Rev_1.00\\1&0", false},
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&", false}, // 41 characters: the 'R' is missing
        {"USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520_Rev", false},
        {" USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&Rev", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        platform::sim::ResetMachine();
        MapDrive('E');
        Disk(0, "IDE\\DiskST1000__________________SN01\\5&1&0&0.0.0");
        Disk(1, row.id);
        const int readsBefore = VersionReads();
        EXPECT_EQ(ScanForDevice(ctx), row.isPlayer);
        EXPECT_EQ(VersionReads() - readsBefore, row.isPlayer ? 1 : 0);
    }
}

TEST_F(DeviceScanTest, NoMatchRunsSixFullPassesAndReadsNoVersion) {
    Disk(0, "IDE\\DiskST1000\\5&1&0&0.0.0");
    Disk(1, "USBSTOR\\Disk&Ven_Other&Prod_Stick&Rev_1.00\\1&0");
    EXPECT_FALSE(ScanForDevice(ctx));
    EXPECT_EQ(queries_, 6 * 3) << "values 0, 1 and the missing 2, six times";
    EXPECT_EQ(VersionReads(), 0);
    EXPECT_EQ(ctx.deviceVersionText.Get(), " ");
}

TEST_F(DeviceScanTest, FirstMatchInPatternOrderThenValueOrderEndsTheScan) {
    Disk(0, "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r530&Rev_1.00\\1&0");
    Disk(1, "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&Rev_1.00\\2&0");
    Disk(2, "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&Rev_1.00\\3&0");
    EXPECT_TRUE(ScanForDevice(ctx));
    EXPECT_EQ(queries_, 2) << "the first pass matches value 1";
    EXPECT_EQ(VersionReads(), 1);
}

TEST_F(DeviceScanTest, MissingOrRefusedKeyMeansNoPlayerQuietly) {
    for (const long openError : {0L, ERROR_ACCESS_DENIED}) {
        platform::sim::ResetMachine();
        queries_ = 0;
        openFault_ = openError;
        if (openError != 0) {
            Disk(0, "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&Rev_1.00\\2&0");
        }
        for (int poll = 0; poll < 3; ++poll) {
            EXPECT_FALSE(ScanForDevice(ctx));
        }
        EXPECT_EQ(queries_, 0);
    }
    EXPECT_TRUE(window_->Texts().empty());
}

TEST_F(DeviceScanTest, ValueTooLongForTheBufferComparesNothingStale) {
    const std::string player = "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&Rev_1.00\\";
    Disk(0, player + std::string(300, '7'));
    EXPECT_FALSE(ScanForDevice(ctx)) << "the untouched, cleared buffer holds no identity";
    EXPECT_TRUE(window_->Texts().empty());

    Disk(0, player + std::string(259 - player.size(), '7'));
    EXPECT_TRUE(ScanForDevice(ctx)) << "259 characters and the NUL fit exactly";
}

TEST_F(DeviceScanTest, FailedQueryIsShownOnceAndTheScanGoesOn) {
    Disk(0, "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&Rev_1.00\\hidden&0");
    FailQuery(0, ERROR_ACCESS_DENIED);
    Disk(1, "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&Rev_1.00\\2&0");
    EXPECT_TRUE(ScanForDevice(ctx)) << "found in pass 6 after value 0 failed in every pass";
    std::vector<std::string> boxes = RegistryBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Access is denied.\r\n");

    for (int poll = 0; poll < 3; ++poll) {
        ScanForDevice(ctx);
    }
    EXPECT_EQ(RegistryBoxes().size(), 1u) << "the same failure is not shown on every poll";

    FailQuery(0, ERROR_INVALID_HANDLE);
    ScanForDevice(ctx);
    boxes = RegistryBoxes();
    ASSERT_EQ(boxes.size(), 2u) << "a different failure is shown";
    EXPECT_EQ(boxes[1], "The handle is invalid.\r\n");

    FailQuery(0, 0);
    ScanForDevice(ctx);
    FailQuery(0, ERROR_INVALID_HANDLE);
    ScanForDevice(ctx);
    EXPECT_EQ(RegistryBoxes().size(), 3u) << "after the value recovered, its next failure is news";
}

TEST_F(DeviceScanTest, KeyThatHasGoneEndsEachPassAtItsFirstFailure) {
    for (const long gone : {ERROR_INVALID_HANDLE, ERROR_KEY_DELETED}) {
        for (int index = 0; index < 50; ++index) {
            Disk(index, "value");
            FailQuery(index, gone);
        }
        const int queriesBefore = queries_;
        const auto boxesBefore = RegistryBoxes().size();
        EXPECT_FALSE(ScanForDevice(ctx));
        EXPECT_EQ(queries_ - queriesBefore, 6) << "one query per pass";
        EXPECT_EQ(RegistryBoxes().size(), boxesBefore + 1) << "error " << gone;
        EXPECT_FALSE(ScanForDevice(ctx));
        EXPECT_EQ(RegistryBoxes().size(), boxesBefore + 1) << "quiet on the next poll";
    }
}

TEST_F(DeviceScanTest, PlayerAfterSeveralUnreadableValuesIsFound) {
    for (int index = 0; index < 10; ++index) {
        Disk(index, "value");
        FailQuery(index, ERROR_ACCESS_DENIED);
    }
    Disk(10, "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&Rev_1.00\\2&0");
    EXPECT_TRUE(ScanForDevice(ctx));
    EXPECT_EQ(RegistryBoxes().size(), 10u) << "one box for each unreadable value";
}

TEST_F(DeviceScanTest, KeyWhoseEveryQueryIsRefusedEndsEachPassInBoundedTime) {
    for (int index = 0; index < 200; ++index) {
        Disk(index, "value");
        FailQuery(index, ERROR_ACCESS_DENIED);
    }
    EXPECT_FALSE(ScanForDevice(ctx));
    EXPECT_EQ(queries_, 6 * 64);
    EXPECT_EQ(RegistryBoxes().size(), 64u) << "each failing value shown once, not once per pass";
}

} // namespace
