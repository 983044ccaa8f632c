#pragma once
// The simulated machine with the line-1 image chosen, and a stand-in for the dialog's side of the
// transfer: it serves the window's requests on its own (the test's) thread, and keeps a log of what
// happened in which order.
#include "platform/Window.h"
#include "support/PlayerMachineTest.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferWorker.h"
#include "ui/TimerIds.h"
#include "ui/WindowRequestMessage.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

class TransferTest : public PlayerMachineTest {
protected:
    void SetUp() override {
        PlayerMachineTest::SetUp();
        {
            std::lock_guard hold(logLock_);
            log_.clear();
        }
        dialog_ = platform::sim::OpenDialog(IDD_UPDATER_DIALOG, &DialogSide, 0);
        ASSERT_NE(dialog_, nullptr);
        ctx.mainDialog = dialog_;
    }

    // Writes the line-1 image with `size` bytes and chooses it as the upgrade's image.
    std::string ChooseImage(std::size_t size) {
        std::string bytes = MakeImage(1, size);
        ctx.firmwareImagePath.Set(ctx.imagePairs[0].imagePath);
        ctx.targetVersionText.Set(ctx.imagePairs[0].version);
        ctx.imageSize = static_cast<std::int32_t>(size);
        return bytes;
    }

    TransferJob Job() { return MakeTransferJob(ctx, dialog_); }

    // --- The run ---

    // What the upgrade command does before the worker starts, then the worker on a real thread,
    // with this thread serving the dialog until the worker has ended.
    void RunTransfer() {
        ctx.driveCount = CountRemovableDrives(ctx);
        ctx.status = Downloading;
        ctx.transferPhase = TransferPhase::Walking;
        platform::SetTimer(dialog_, ID_TIMER_PROGRESS, kProgressPeriodMs);
        ASSERT_TRUE(StartTransferWorker(ctx, dialog_));
        ASSERT_TRUE(platform::sim::WaitForThreads());
        platform::sim::PumpMessages();
    }

    // Answers the next `count` boxes with OK, logging each with the state of the progress timer.
    void LogBoxes(int count = 8) {
        std::vector<platform::sim::BoxAnswer> answers;
        for (int i = 0; i < count; ++i) {
            answers.push_back({IDOK, 0, [this] {
                                   Log(platform::sim::TimerPeriod(dialog_, ID_TIMER_PROGRESS)
                                           ? "box, timer running"
                                           : "box, timer stopped");
                               }});
        }
        ScriptWorkerBoxes(std::move(answers));
    }
    // Answers for the boxes the worker shows on its own thread.
    static void ScriptWorkerBoxes(std::vector<platform::sim::BoxAnswer> answers) {
        platform::sim::ScriptMessageBoxes(std::move(answers), platform::sim::BoxThread::Worker);
    }

    static std::vector<std::string> Logged() {
        std::lock_guard hold(logLock_);
        return log_;
    }
    static void Log(std::string event) {
        std::lock_guard hold(logLock_);
        log_.push_back(std::move(event));
    }


    platform::WindowHandle dialog_ = nullptr;

private:
    // The dialog's side: the progress timer on request, and the close the worker posts.
    static platform::LResult DialogSide(platform::WindowHandle dialog, unsigned message,
                                        platform::WParam wParam, platform::LParam lParam) {
        if (message == WM_WINDOW_REQUEST) {
            switch (static_cast<WindowRequest>(wParam)) {
            case WindowRequest::ResumeProgress:
                platform::SetTimer(dialog, ID_TIMER_PROGRESS, kProgressPeriodMs);
                Log("timer start");
                break;
            case WindowRequest::HoldProgress:
                platform::KillTimer(dialog, ID_TIMER_PROGRESS);
                Log("timer stop");
                break;
            case WindowRequest::StopProgress:
                platform::KillTimer(dialog, ID_TIMER_PROGRESS);
                Log("progress stop");
                break;
            case WindowRequest::StopPolling:
                Log("poll stop");
                break;
            }
            return 1;
        }
        if (message == WM_COMMAND && wParam == static_cast<platform::WParam>(IDCANCEL) && lParam == 0) {
            Log("IDCANCEL");
            return 1;
        }
        return 0;
    }

    static inline std::mutex logLock_;
    static inline std::vector<std::string> log_;
};
