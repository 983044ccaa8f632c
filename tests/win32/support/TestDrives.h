#pragma once
// Drive letters of the private Wine prefix mapped to fresh Unix folders under a test's own root,
// through Wine's mount manager; the letters and the folders go with the object.
#include <windows.h>

#include "WineDrive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

class TestDrives {
public:
    // The root is /tmp/updater-<kind>-<process>-<test>, unique to the running test.
    explicit TestDrives(const std::string& kind)
        : root_("/tmp/updater-" + kind + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
    ~TestDrives() {
        for (const char letter : letters_) {
            EXPECT_TRUE(RemoveWineDrive(letter)) << letter;
        }
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(WinePath(root_)), ignored);
    }
    TestDrives(const TestDrives&) = delete;
    TestDrives& operator=(const TestDrives&) = delete;

    // False when the root folder cannot be made.
    bool MakeRoot() const { return ::CreateDirectoryA(WinePath(root_).c_str(), nullptr); }
    const std::string& Root() const { return root_; }

    // Maps `letter` as a drive of `type` to `unixFolder`, or to a new folder of its own under the root.
    void Map(char letter, unsigned type = DRIVE_REMOVABLE, std::string unixFolder = {}) {
        if (unixFolder.empty()) {
            unixFolder = root_ + "/" + letter;
            ASSERT_TRUE(::CreateDirectoryA(WinePath(unixFolder).c_str(), nullptr)) << unixFolder;
        }
        ASSERT_TRUE(DefineWineDrive(letter, unixFolder, type)) << letter;
        letters_.push_back(letter);
    }

private:
    std::string root_;
    std::vector<char> letters_;
};
