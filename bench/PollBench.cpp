// One device poll on a busy machine: 20 enumerated disks, the player's last, and 20 removable
// drives, the player's last, so the scan and both locators go the whole way every time.
#include "discovery/DeviceScan.h"
#include "discovery/DriveLocator.h"
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "sim/window/SimWindows.h"
#include "ui/TimerIds.h"
#include "ui/UpdaterDialog.h"
#include "ui/resource.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kDisks = 20;
constexpr int kDrives = 20;

void PollWithTwentyDisksAndDrives(benchmark::State& state) {
    platform::sim::Reset();
    platform::sim::DefineDialog(IDD_UPDATER_DIALOG, {{IDC_UPGRADE},
                                                     {IDC_PROGRESS},
                                                     {IDC_STATUS},
                                                     {IDC_CURRENT_VERSION},
                                                     {IDC_TARGET_VERSION},
                                                     {IDC_LOGO}});
    platform::sim::ResetMachine();
    std::string pattern = (std::filesystem::temp_directory_path() / "updater-poll-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot make a folder");
        return;
    }
    const std::filesystem::path root = pattern;
    for (int disk = 0; disk < kDisks - 1; ++disk) {
        platform::sim::SetRegistryValue(kDiskEnumKey, std::to_string(disk),
                                        "USBSTOR\\Disk&Ven_Other&Prod_Stick&Rev_1.00\\" +
                                            std::to_string(disk) + "&0");
    }
    platform::sim::SetRegistryValue(kDiskEnumKey, std::to_string(kDisks - 1),
                                    "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&Rev_1.00\\0001&0");
    for (int drive = 0; drive < kDrives; ++drive) {
        const char letter = static_cast<char>('D' + drive);
        const auto folder = root / std::string(1, letter);
        std::filesystem::create_directories(folder);
        platform::sim::MapDrive(letter, folder, DRIVE_REMOVABLE);
        if (drive == kDrives - 1) {
            std::ofstream(folder / kConfigFileName, std::ios::binary) << "1.1.5E";
        }
    }

    UpdaterContext context;
    context.imagePairs[0] = {"line1.rom", "1.1.6E"};
    UpdaterDialog dialog(context);
    platform::sim::OpenDialog(IDD_UPDATER_DIALOG, &ModalDialog::Procedure,
                              reinterpret_cast<platform::LParam>(&dialog));
    for (auto _ : state) {
        platform::sim::AdvanceTime(kPollPeriodMs); // one poll tick
    }
    if (context.status != Ready && context.status != ShowingVersion) {
        state.SkipWithError("the poll did not find the player");
    }
    platform::sim::Reset();
    platform::sim::ResetMachine();
    std::filesystem::remove_all(root);
}
BENCHMARK(PollWithTwentyDisksAndDrives)->Unit(benchmark::kMicrosecond);

} // namespace
