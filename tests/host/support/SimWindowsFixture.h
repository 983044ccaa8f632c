#pragma once
// A test on the simulated window system: starts from a reset simulation that knows the updater's
// dialog, and fails on any fault it recorded (an unscripted question, a timer off its thread).
#include "sim/window/SimWindows.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

class SimWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        platform::sim::DefineDialog(IDD_UPDATER_DIALOG,
                                    {{IDOK, "EXIT"},
                                     {IDC_UPGRADE, "Firmware Upgrade"},
                                     {IDC_PROGRESS},
                                     {IDC_STATUS, "Ready"},
                                     {IDC_CURRENT_VERSION, "Current version:  Searching...", false},
                                     {IDC_TARGET_VERSION, "Upgrade to version:  Searching...", false},
                                     {IDC_LOGO}});
    }
    void TearDown() override {
        for (const std::string& failure : platform::sim::TakeFailures()) {
            ADD_FAILURE() << "simulated window system: " << failure;
        }
        platform::sim::Reset();
    }
};
