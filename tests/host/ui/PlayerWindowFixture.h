#pragma once
// The updater dialog open on the simulated machine, with helpers to plug a player in (enumerated
// disk, removable drive, version file) and drive the poll and progress timers.
#include "OpenDialog.h"
#include "discovery/DeviceScan.h"
#include "platform/WindowMessages.h"
#include "sim/window/SimAccessibility.h"
#include "support/PlayerMachineTest.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <string>
#include <vector>

class PlayerWindowTest : public PlayerMachineTest {
protected:
    static constexpr char kPlayerId[] = "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&Rev_1.00\\0001234567&0";

    void SetUp() override {
        PlayerMachineTest::SetUp();
        platform::sim::CreateRegistryKey(kDiskEnumKey);
    }

    void Open() {
        window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
        ASSERT_NE(window_, nullptr);
    }

    void Enumerate() { platform::sim::SetRegistryValue(kDiskEnumKey, "0", kPlayerId); }
    // An enumerated player on `letter` whose short version file holds `version`.
    void PlugPlayer(char letter = 'E', const std::string& version = kDeviceVersion) {
        Enumerate();
        MapConfigPlayer(letter, version);
    }
    // Every player and drive goes; the images stay, they are host files.
    void UnplugAll() {
        platform::sim::ResetMachine();
        platform::sim::CreateRegistryKey(kDiskEnumKey);
    }

    void Poll() { platform::sim::AdvanceTime(kPollPeriodMs); }
    void VolumeNotice(unsigned event, std::uint16_t flags = 0) {
        platform::DeviceBroadcastVolume volume{sizeof(platform::DeviceBroadcastVolume), DBT_DEVTYP_VOLUME, 0,
                                               1u << ('E' - 'A'), flags};
        platform::SendMessageA(window_, WM_DEVICECHANGE, event, reinterpret_cast<platform::LParam>(&volume));
    }

    platform::WindowHandle Control(int id) const { return platform::GetDlgItem(window_, id); }
    std::string Text(int id) const { return platform::sim::Inspect(platform::GetDlgItem(window_, id)).text; }
    std::string Status() const { return Text(IDC_STATUS); }
    bool UpgradeEnabled() const { return platform::IsWindowEnabled(Control(IDC_UPGRADE)); }
    bool VersionViewShown() const {
        const bool versions = platform::sim::Inspect(Control(IDC_CURRENT_VERSION)).visible;
        EXPECT_EQ(versions, platform::sim::Inspect(Control(IDC_TARGET_VERSION)).visible);
        EXPECT_NE(versions, platform::sim::Inspect(Control(IDC_LOGO)).visible)
            << "logo and version lines share the top";
        return versions;
    }
    int ProgressPosition() const { return platform::sim::Inspect(Control(IDC_PROGRESS)).progress.position; }
    // What a screen reader was told since the last call: the text of each live region announced.
    std::vector<std::string> Heard() {
        const auto events = platform::sim::RaisedWinEvents();
        std::vector<std::string> heard;
        for (std::size_t i = heardSoFar_; i < events.size(); ++i) {
            EXPECT_EQ(events[i].event, EVENT_OBJECT_LIVEREGIONCHANGED);
            EXPECT_EQ(events[i].objectId, OBJID_CLIENT);
            EXPECT_EQ(events[i].childId, CHILDID_SELF);
            heard.push_back(events[i].text);
        }
        heardSoFar_ = events.size();
        return heard;
    }

    UpdaterDialog dialog_{ctx};
    platform::WindowHandle window_ = nullptr;
    std::size_t heardSoFar_ = 0;
};
