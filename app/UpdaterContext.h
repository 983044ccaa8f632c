#pragma once
// The one record through which start-up, discovery, the window and the transfer worker talk.
// Text fields and the drive table are reached only under `sharedLock` (through Guarded); the
// integer fields are atomics. The lock is never held across a window message, a message box or a
// touch of a player's files.
#include "app/Guarded.h"
#include "app/UpdaterStatus.h"
#include "app/WindowRequests.h"
#include "platform/Types.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ImagePair {
    std::string imagePath; // firmware image file
    std::string version;   // the version that image carries, such as 1.1.6E
};

inline constexpr int kDriveTableSize = 20;

// Letters of the removable drives from the last count, from index 0; zero past the count.
// A letter replaced by 'A' has been handed out by a locator.
using DriveTable = std::array<char, kDriveTableSize>;

// The player's file as last loaded: L + 1 bytes, NUL-terminated within. Empty means none.
using DeviceText = std::vector<char>;

// How far the upgrade has come; the one word every part reads to tell whether a transfer is under way.
enum class TransferPhase : std::int32_t {
    Idle,     // no upgrade under way
    Asking,   // the upgrade command runs: its warning is up
    Starting, // confirmed: the image is measured, the drives counted and the worker started
    Walking,  // the worker walks the players
    Ended,    // the worker has ended the run
};

// From the confirmation until the worker has ended the run: the drive table is the upgrade's.
inline bool TransferUnderWay(TransferPhase phase) {
    return phase == TransferPhase::Starting || phase == TransferPhase::Walking;
}

// How the run ended: the process's exit code, for the script that started the updater.
enum class RunOutcome : int {
    Upgraded = 0,         // at least one player received the image
    NoPlayerUpgraded = 1, // the run ended and no player received it
    Refused = 2,          // the player's version was refused before anything was copied
    Closed = 3,           // the window was closed before a run ended
    AnotherUpdater = 4,   // another updater was running, so this one started nothing
};

struct UpdaterContext {
    mutable SharedLock sharedLock;

    // Filled once by start-up, before the window and any worker exist; read-only afterwards.
    std::array<ImagePair, 3> imagePairs;

    Guarded<std::string> firmwareImagePath{sharedLock, ""};
    Guarded<std::string> targetVersionText{sharedLock, "0.0"};
    Guarded<std::string> deviceVersionText{sharedLock, " "};
    Guarded<std::string> deviceInfoPath{sharedLock, ""};
    Guarded<DriveTable> removableDrives{sharedLock, DriveTable{}};

    std::atomic<std::int32_t> driveCount{0};
    std::atomic<std::int32_t> currentDriveOrdinal{1};
    std::atomic<std::int32_t> imageSize{0};
    // 64 bits and saturating where it grows geometrically, so it never wraps.
    std::atomic<std::int64_t> progressTicks{0};
    std::atomic<UpdaterStatus> status{NotReady};
    std::atomic<TransferPhase> transferPhase{TransferPhase::Idle};
    std::atomic<RunOutcome> runOutcome{RunOutcome::Closed};

    Guarded<DeviceText> deviceText{sharedLock, DeviceText{}};

    // Registry values of the disk enumeration whose failed query has been shown, by value index,
    // with the error shown; a value is shown again only when it fails differently. Read and
    // written by the presence scan, on the user-interface thread only.
    std::map<int, long> reportedRegistryFailures;

    // The live updater dialog's window, set as soon as it exists; not owned.
    std::atomic<platform::WindowHandle> mainDialog{nullptr};
    // What discovery and the worker ask of the window. Installed and read on the window's thread;
    // each worker keeps a share of its own (TransferJob), so it outlives the window safely.
    std::shared_ptr<WindowRequests> window;
};
