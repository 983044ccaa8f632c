#pragma once
// A simulated machine with drives mapped to temporary folders, a fresh context, and the updater
// dialog open in the simulated window system as the context's main dialog.
#include "app/UpdaterContext.h"
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "sim/window/SimWindows.h"
#include "support/PlayerFilesOutsideLock.h"
#include "support/SimWindowsFixture.h"
#include "support/TempFolder.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

// The bytes of `text` as UTF-16LE; each char is one code unit of the same value.
inline std::string Utf16(std::string_view text) {
    std::string bytes;
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

class DiscoveryTest : public SimWindowsTest {
protected:
    void SetUp() override {
        SimWindowsTest::SetUp();
        platform::sim::ResetMachine();
        ctx.mainDialog = platform::sim::OpenDialog(IDD_UPDATER_DIALOG, &IgnoreMessages, 0);
        ASSERT_NE(ctx.mainDialog.load(), nullptr);
    }
    void TearDown() override {
        SimWindowsTest::TearDown();
        platform::sim::ResetMachine();
    }

    // Maps `letter` to a new folder and returns the folder.
    std::filesystem::path MapDrive(char letter, unsigned type = DRIVE_REMOVABLE) {
        const auto folder = temp_.Path() / std::string(1, letter);
        std::filesystem::create_directories(folder);
        platform::sim::MapDrive(letter, folder, type);
        return folder;
    }
    // Writes `bytes` as file `name` in the root of the mapped drive `letter`.
    void PutFile(char letter, const std::string& name, std::string_view bytes) {
        WriteBytes(temp_.Path() / std::string(1, letter) / name, bytes);
    }

    static platform::LResult IgnoreMessages(platform::WindowHandle, unsigned, platform::WParam,
                                            platform::LParam) {
        return 0;
    }

    TempFolder temp_;
    UpdaterContext ctx;
    PlayerFilesOutsideLock lockDiscipline_{ctx.sharedLock};
};
