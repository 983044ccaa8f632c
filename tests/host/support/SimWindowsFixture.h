#pragma once
// A test on the simulated window system: starts from a reset simulation that knows the program's
// dialogs by their control ids, and fails on any fault the simulation recorded (an unscripted
// question, a timer set off its thread, a modal dialog left open).
#include "sim/window/SimWindows.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

// The controls of the program's dialogs as its resources define them, in tab order.
inline void DefineProgramDialogs() {
    platform::sim::DefineDialog(
        IDD_UPDATER_DIALOG, {.controls = {{IDOK, "EXIT"},
                                          {IDC_UPGRADE, "Firmware Upgrade"},
                                          {IDC_PROGRESS},
                                          {IDC_STATUS, "Ready"},
                                          {IDC_CURRENT_VERSION, "Current version:  Searching...", false},
                                          {IDC_TARGET_VERSION, "Upgrade to version:  Searching...", false},
                                          {IDC_LOGO}},
                             .firstTabStop = IDOK});
    platform::sim::DefineDialog(IDD_ABOUT_DIALOG, {.controls = {{IDOK, "OK"}}, .firstTabStop = IDOK});
}

class SimWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        DefineProgramDialogs();
    }
    void TearDown() override {
        for (const std::string& failure : platform::sim::TakeFailures()) {
            ADD_FAILURE() << "simulated window system: " << failure;
        }
        platform::sim::Reset();
    }
};
