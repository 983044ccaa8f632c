#pragma once
// A test on the simulated machine: drive letters mapped to folders of a temporary folder, players
// known by their configuration or certificate file, the three images of the command line, a fresh
// context whose shared lock no player's file may be touched under.
#include "app/UpdaterContext.h"
#include "discovery/DriveLocator.h"
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "sim/window/SimWindows.h"
#include "support/PlayerFilesOutsideLock.h"
#include "support/SimWindowsFixture.h"
#include "support/TempFolder.h"
#include "tests/common/Pattern.h"
#include "tests/common/Utf16.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class PlayerMachineTest : public SimWindowsTest {
protected:
    static constexpr char kDeviceVersion[] = "1.1.5E";
    // The versions of the images offered for lines 1, 2 and 3.
    static constexpr const char* kOfferedVersions[3] = {"1.1.6E", "2.0.2E", "3.0.1E"};

    void SetUp() override {
        SimWindowsTest::SetUp();
        platform::sim::ResetMachine();
        for (int line = 1; line <= 3; ++line) {
            ctx.imagePairs[line - 1] = {ImagePath(line), kOfferedVersions[line - 1]};
        }
    }
    void TearDown() override {
        SimWindowsTest::TearDown();
        platform::sim::ResetMachine();
    }
    // For one more case of a table: reports what the simulation recorded, then starts from scratch
    // with the same context.
    void StartOver() {
        TearDown();
        for (const auto& entry : std::filesystem::directory_iterator(temp_.Path())) {
            std::filesystem::remove_all(entry.path());
        }
        SetUp();
    }

    std::filesystem::path Folder(char letter) const { return temp_.Path() / std::string(1, letter); }
    std::filesystem::path FileOn(char letter, const std::string& name) const { return Folder(letter) / name; }
    std::string ImagePath(int line) const {
        return (temp_.Path() / ("line" + std::to_string(line) + ".rom")).string();
    }
    // Writes the image of `line` with `bytes` bytes and returns them.
    std::string MakeImage(int line, std::size_t bytes) {
        std::string image = Pattern(bytes, line);
        WriteBytes(ImagePath(line), image);
        return image;
    }

    void MapDrive(char letter, unsigned type = DRIVE_REMOVABLE) {
        std::filesystem::create_directories(Folder(letter));
        platform::sim::MapDrive(letter, Folder(letter), type);
    }
    // A removable drive without a medium, such as an empty card slot, with a player's files on it
    // should the probes look past the missing medium.
    void MapEmptySlot(char letter) {
        MapConfigPlayer(letter);
        platform::sim::RemoveMedium(letter);
    }
    void PutFile(char letter, const std::string& name, std::string_view bytes) {
        WriteBytes(FileOn(letter, name), bytes);
    }
    // A player known by its configuration file, a short version file holding `version`.
    void MapConfigPlayer(char letter, std::string_view version = kDeviceVersion) {
        MapDrive(letter);
        PutFile(letter, kConfigFileName, version);
    }
    // A player known by its certificate file: UTF-16LE tagged text with the vendor and `version`.
    void MapCertificatePlayer(char letter, std::string_view version = kDeviceVersion) {
        MapDrive(letter);
        PutFile(letter, kCertificateFileName,
                Utf16("Vendor: Qtx Labs\n<firmver>" + std::string(version) + "</firmver>\n"));
    }

    TempFolder temp_;
    UpdaterContext ctx;
    PlayerFilesOutsideLock lockDiscipline_{ctx.sharedLock};
};
