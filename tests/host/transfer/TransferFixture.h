#pragma once
// A simulated machine with players on drive letters, a fresh context whose line-1 image is chosen,
// and a stand-in for the dialog's side of the transfer: it starts and stops the progress timer on
// request, on its own (the test's) thread, and keeps a log of what happened in which order.
#include "app/UpdaterContext.h"
#include "discovery/DriveLocator.h"
#include "platform/Volumes.h"
#include "platform/Window.h"
#include "sim/system/SimMachine.h"
#include "sim/window/SimWindows.h"
#include "support/PlayerFilesOutsideLock.h"
#include "support/SimWindowsFixture.h"
#include "support/TempFolder.h"
#include "tests/common/Pattern.h"
#include "transfer/ProgressTimerMessage.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferWorker.h"
#include "ui/TimerIds.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class TransferTest : public SimWindowsTest {
protected:
    static constexpr char kDeviceVersion[] = "1.1.5E";

    void SetUp() override {
        SimWindowsTest::SetUp();
        platform::sim::ResetMachine();
        {
            std::lock_guard hold(logLock_);
            log_.clear();
        }
        dialog_ = platform::sim::OpenDialog(IDD_UPDATER_DIALOG, &DialogSide, 0);
        ASSERT_NE(dialog_, nullptr);
        ctx.mainDialog = dialog_;
        for (int line = 0; line < 3; ++line) {
            const auto image = temp_.Path() / ("image" + std::to_string(line + 1) + ".rom");
            ctx.imagePairs[line] = {image.string(), std::to_string(line + 1) + ".1.6E"};
        }
    }
    void TearDown() override {
        SimWindowsTest::TearDown();
        platform::sim::ResetMachine();
    }

    // For one more case of a table: reports what the sim recorded, then starts from scratch.
    void StartOver() {
        TearDown();
        for (const auto& entry : std::filesystem::directory_iterator(temp_.Path())) {
            std::filesystem::remove_all(entry.path());
        }
        SetUp();
    }

    // --- The machine ---

    std::filesystem::path Folder(char letter) const { return temp_.Path() / std::string(1, letter); }
    std::filesystem::path FileOn(char letter, const std::string& name) const { return Folder(letter) / name; }

    void MapDrive(char letter) {
        std::filesystem::create_directories(Folder(letter));
        platform::sim::MapDrive(letter, Folder(letter), DRIVE_REMOVABLE);
    }
    // A player known by its configuration file, a short version file holding `version`.
    void MapConfigPlayer(char letter, std::string_view version = kDeviceVersion) {
        MapDrive(letter);
        WriteBytes(FileOn(letter, kConfigFileName), version);
    }
    // A player known by its certificate file: UTF-16LE tagged text with the vendor and `version`.
    void MapCertificatePlayer(char letter, std::string_view version = kDeviceVersion) {
        MapDrive(letter);
        std::string wide;
        for (char c : "Vendor: Qtx Labs\n<firmver>" + std::string(version) + "</firmver>\n") {
            wide += c;
            wide += '\0';
        }
        WriteBytes(FileOn(letter, kCertificateFileName), wide);
    }

    // Writes the line-1 image with `size` bytes and chooses it as the upgrade's image.
    std::string ChooseImage(std::size_t size) {
        std::string bytes = Pattern(size);
        WriteBytes(ctx.imagePairs[0].imagePath, bytes);
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
        platform::SendMessageA(ProgressBar(), PBM_SETRANGE, 0, 1000 << 16);
        platform::SendMessageA(ProgressBar(), PBM_SETPOS, 500, 0);
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

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : platform::sim::ShownMessageBoxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }

    static std::vector<std::string> Logged() {
        std::lock_guard hold(logLock_);
        return log_;
    }
    static void Log(std::string event) {
        std::lock_guard hold(logLock_);
        log_.push_back(std::move(event));
    }

    platform::WindowHandle ProgressBar() const { return platform::GetDlgItem(dialog_, IDC_PROGRESS); }

    TempFolder temp_;
    UpdaterContext ctx;
    PlayerFilesOutsideLock lockDiscipline_{ctx.sharedLock};
    platform::WindowHandle dialog_ = nullptr;

private:
    // The dialog's side: the progress timer on request, and the close the worker posts.
    static platform::LResult DialogSide(platform::WindowHandle dialog, unsigned message,
                                        platform::WParam wParam, platform::LParam lParam) {
        if (message == WM_PROGRESS_TIMER) {
            if (wParam == kStartProgressTimer) {
                platform::SetTimer(dialog, ID_TIMER_PROGRESS, kProgressPeriodMs);
                Log("timer start");
            } else {
                platform::KillTimer(dialog, ID_TIMER_PROGRESS);
                Log("timer stop");
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
