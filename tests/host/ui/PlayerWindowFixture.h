#pragma once
// The updater dialog open on the simulated machine, with helpers to plug a player in (enumerated
// disk, removable drive, version file), make images, and drive the poll and progress timers.
#include "OpenDialog.h"
#include "discovery/DeviceScan.h"
#include "discovery/DriveLocator.h"
#include "platform/DeviceNotice.h"
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "support/PlayerFilesOutsideLock.h"
#include "support/SimWindowsFixture.h"
#include "support/TempFolder.h"
#include "tests/common/Pattern.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <filesystem>
#include <string>

class PlayerWindowTest : public SimWindowsTest {
protected:
    static constexpr char kPlayerId[] = "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&Rev_1.00\\0001234567&0";

    void SetUp() override {
        SimWindowsTest::SetUp();
        platform::sim::ResetMachine();
        platform::sim::CreateRegistryKey(kDiskEnumKey);
        for (int line = 1; line <= 3; ++line) {
            context_.imagePairs[line - 1] = {ImagePath(line), std::to_string(line) + ".1.6E"};
        }
    }
    void TearDown() override {
        SimWindowsTest::TearDown();
        platform::sim::ResetMachine();
    }

    void Open() {
        window_ = OpenWithoutLoop(dialog_, IDD_UPDATER_DIALOG);
        ASSERT_NE(window_, nullptr);
    }

    std::string ImagePath(int line) const {
        return (temp_.Path() / ("line" + std::to_string(line) + ".rom")).string();
    }
    void MakeImage(int line, std::size_t bytes) { WriteBytes(ImagePath(line), Pattern(bytes, line)); }

    std::filesystem::path Folder(char letter) const { return temp_.Path() / std::string(1, letter); }
    void Enumerate() { platform::sim::SetRegistryValue(kDiskEnumKey, "0", kPlayerId); }
    void MapRemovable(char letter) {
        std::filesystem::create_directories(Folder(letter));
        platform::sim::MapDrive(letter, Folder(letter), DRIVE_REMOVABLE);
    }
    // An enumerated player on `letter` whose short version file holds `version`.
    void PlugPlayer(char letter = 'E', const std::string& version = "1.1.5E") {
        Enumerate();
        MapRemovable(letter);
        WriteBytes(Folder(letter) / kConfigFileName, version);
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

    TempFolder temp_;
    UpdaterContext context_;
    PlayerFilesOutsideLock lockDiscipline_{context_.sharedLock};
    UpdaterDialog dialog_{context_};
    platform::WindowHandle window_ = nullptr;
};
