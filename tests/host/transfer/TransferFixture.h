#pragma once
// The simulated machine with the line-1 image chosen, and a recording in the window's place: the
// worker's requests are kept in order, and its boxes are only texts.
#include "support/PlayerMachineTest.h"
#include "support/RecordedWindowRequests.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferWorker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class TransferTest : public PlayerMachineTest {
protected:
    void SetUp() override {
        PlayerMachineTest::SetUp();
        window_ = std::make_shared<RecordedWindowRequests>();
        ctx.window = window_;
    }

    // Writes the line-1 image with `size` bytes and chooses it as the upgrade's image.
    std::string ChooseImage(std::size_t size) {
        std::string bytes = MakeImage(1, size);
        ctx.firmwareImagePath.Set(ctx.imagePairs[0].imagePath);
        ctx.targetVersionText.Set(ctx.imagePairs[0].version);
        ctx.imageSize = static_cast<std::int32_t>(size);
        return bytes;
    }

    TransferJob Job() { return MakeTransferJob(ctx); }

    // What the upgrade command does before the worker starts, then the worker on a real thread
    // until it has ended.
    void RunTransfer() {
        ctx.driveCount = CountRemovableDrives(ctx);
        ctx.status = Downloading;
        ctx.transferPhase = TransferPhase::Walking;
        ASSERT_TRUE(StartTransferWorker(ctx));
        ASSERT_TRUE(platform::sim::WaitForThreads());
    }

    std::vector<std::string> Requests() const { return window_->Requests(); }
    std::vector<std::string> BoxTexts() const { return window_->Texts(); }

    std::shared_ptr<RecordedWindowRequests> window_;
};
