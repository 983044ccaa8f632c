#pragma once
// A simulated machine with drives mapped to folders of a fresh temporary directory.
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class SystemServicesTest : public ::testing::Test {
protected:
    void SetUp() override { platform::sim::ResetMachine(); }
    void TearDown() override { platform::sim::ResetMachine(); }

    // Maps `letter` to a new folder and returns the folder.
    std::filesystem::path MapDrive(char letter, unsigned type = DRIVE_REMOVABLE) {
        const auto folder = temp_.Path() / std::string(1, letter);
        std::filesystem::create_directories(folder);
        platform::sim::MapDrive(letter, folder, type);
        return folder;
    }

    TempFolder temp_;
};
