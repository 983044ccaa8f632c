#pragma once
// The simulated machine with the updater dialog open, as a window that ignores what it is sent, as
// the context's main dialog.
#include "support/PlayerMachineTest.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

class DiscoveryTest : public PlayerMachineTest {
protected:
    void SetUp() override {
        PlayerMachineTest::SetUp();
        ctx.mainDialog = platform::sim::OpenDialog(IDD_UPDATER_DIALOG, &IgnoreMessages, 0);
        ASSERT_NE(ctx.mainDialog.load(), nullptr);
    }

    static platform::LResult IgnoreMessages(platform::WindowHandle, unsigned, platform::WParam,
                                            platform::LParam) {
        return 0;
    }
};
