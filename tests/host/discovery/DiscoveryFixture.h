#pragma once
// The simulated machine with a recording in the window's place: what discovery asks of the window
// is kept in order, and its boxes are only texts.
#include "support/PlayerMachineTest.h"
#include "support/RecordedWindowRequests.h"

#include <gtest/gtest.h>

#include <memory>

class DiscoveryTest : public PlayerMachineTest {
protected:
    void SetUp() override {
        PlayerMachineTest::SetUp();
        window_ = std::make_shared<RecordedWindowRequests>();
        ctx.window = window_;
    }

    std::shared_ptr<RecordedWindowRequests> window_;
};
