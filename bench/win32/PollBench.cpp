// The poll's work through the real registry and drives: the presence scan with its version read,
// the drive count and both locators. The window updates (a few messages) are left out.
#include "PollBench.h"

#include "WineDrive.h"
#include "app/UpdaterContext.h"
#include "discovery/DeviceScan.h"
#include "discovery/DriveLocator.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kDisks = 20;
constexpr int kDrives = 20;

char DriveLetter(int index) {
    return static_cast<char>('D' + index);
}

bool EnumerateDisks(HKEY& key) {
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    for (int disk = 0; disk < kDisks; ++disk) {
        const std::string id = disk == kDisks - 1 ? "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&Rev_1.00\\1&0"
                                                  : "USBSTOR\\Disk&Ven_Other&Prod_Stick&Rev_1.00\\" +
                                                        std::to_string(disk) + "&0";
        RegSetValueExA(key, std::to_string(disk).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(id.c_str()), static_cast<DWORD>(id.size() + 1));
    }
    return true;
}

} // namespace

bool MeasurePoll(const std::string& folder, int runs) {
    HKEY key = nullptr;
    if (!EnumerateDisks(key)) {
        std::fprintf(stderr, "cannot write the disk enumeration key\n");
        return false;
    }
    bool mapped = true;
    for (int drive = 0; drive < kDrives && mapped; ++drive) {
        const std::string unixFolder = folder + "/drive-" + DriveLetter(drive);
        const std::string windowsFolder = WinePath(unixFolder);
        CreateDirectoryA(windowsFolder.c_str(), nullptr);
        if (drive == kDrives - 1) {
            std::ofstream(windowsFolder + "\\" + kConfigFileName, std::ios::binary) << "1.1.5E";
        }
        mapped = DefineWineDrive(DriveLetter(drive), unixFolder, DRIVE_REMOVABLE);
    }

    UpdaterContext context;
    context.imagePairs[0] = {"line1.rom", "1.1.6E"};
    std::vector<double> times;
    bool found = mapped;
    for (int run = 0; run < runs && found; ++run) {
        const auto start = std::chrono::steady_clock::now();
        found = ScanForDevice(context);
        const std::int32_t count = CountRemovableDrives(context);
        found = found && FindPlayerDrive(context, count);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }

    for (int drive = 0; drive < kDrives; ++drive) {
        RemoveWineDrive(DriveLetter(drive));
    }
    for (int disk = 0; disk < kDisks; ++disk) {
        RegDeleteValueA(key, std::to_string(disk).c_str());
    }
    RegCloseKey(key);
    if (!found) {
        std::fprintf(stderr, "the poll did not find the player\n");
        return false;
    }
    std::sort(times.begin(), times.end());
    std::printf("one poll's work, %d enumerated disks and %d removable drives: %.2f ms (median of %d)\n",
                kDisks, kDrives, times[times.size() / 2], runs);
    return true;
}
