#pragma once
// A test on the simulated window system: starts from a reset sim and fails on any fault the sim
// recorded (an unscripted question, a timer set off its thread, a modal dialog left open).
#include "sim/window/SimWindows.h"

#include <gtest/gtest.h>

class SimWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::sim::Reset(); }
    void TearDown() override {
        for (const std::string& failure : platform::sim::TakeFailures()) {
            ADD_FAILURE() << "simulated window system: " << failure;
        }
        platform::sim::Reset();
    }
};
