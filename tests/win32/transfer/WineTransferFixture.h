#pragma once
// The transfer against the real system under Wine: drive letters mapped to fresh Unix folders
// through Wine's mount manager, and, for the worker, a real updater dialog on the test's thread
// that starts and stops its progress timer on request and answers the worker's message boxes.
#include <windows.h>

#include <commctrl.h>

#include "app/UpdaterContext.h"
#include "discovery/DriveLocator.h"
#include "support/TestDrives.h"
#include "tests/common/Pattern.h"
#include "transfer/ProgressTimerMessage.h"
#include "transfer/SafeCopy.h"
#include "transfer/TransferWorker.h"
#include "ui/TimerIds.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class WineTransferTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(drives_.MakeRoot()) << drives_.Root(); }
    void TearDown() override {
        if (dialog_ != nullptr) {
            ::DestroyWindow(dialog_);
        }
    }

    // Maps `letter` as a removable drive to `unixFolder`, or to a new folder of its own.
    void MapDrive(char letter, std::string unixFolder = {}) {
        drives_.Map(letter, DRIVE_REMOVABLE, std::move(unixFolder));
    }

    static void WriteFile(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool Exists(const std::string& path) {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Writes an image of `size` bytes outside the drives and makes it the line-1 choice.
    std::string ChooseImage(std::size_t size) {
        const std::string path = WinePath(drives_.Root()) + "\\image1.rom";
        std::string bytes = Pattern(size);
        WriteFile(path, bytes);
        ctx.imagePairs[0] = {path, "1.1.6E"};
        ctx.firmwareImagePath.Set(path);
        ctx.targetVersionText.Set("1.1.6E");
        ctx.imageSize = static_cast<std::int32_t>(size);
        return bytes;
    }

    TransferJob Job() { return MakeTransferJob(ctx, reinterpret_cast<platform::WindowHandle>(dialog_)); }
    const std::string& UnixRoot() const { return drives_.Root(); }

    // Opens the updater dialog modeless on this thread, as the context's main dialog.
    void OpenDialog() {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&classes);
        log_ = &events_;
        dialog_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UPDATER_DIALOG),
                                       nullptr, &DialogSide, 0);
        ASSERT_NE(dialog_, nullptr);
        ctx.mainDialog = reinterpret_cast<platform::WindowHandle>(dialog_);
    }

    // Starts the worker as the upgrade command does and serves the dialog, answering each box the
    // worker shows with OK, until the worker has closed the dialog (or 60 s have passed).
    void RunTransfer() {
        ctx.driveCount = CountRemovableDrives(ctx);
        ::SetTimer(dialog_, ID_TIMER_PROGRESS, kProgressPeriodMs, nullptr);
        ASSERT_TRUE(StartTransferWorker(ctx, reinterpret_cast<platform::WindowHandle>(dialog_)));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (events_.empty() || events_.back() != "IDCANCEL") {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the worker did not end the run";
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
            std::erase_if(answered_, [](HWND box) { return !::IsWindow(box); });
            ::EnumWindows(&AnswerBox, reinterpret_cast<LPARAM>(this));
        }
    }

    UpdaterContext ctx;
    HWND dialog_ = nullptr;
    std::vector<std::string> events_; // timer requests, boxes and the close, in order
    std::vector<std::string> boxes_;  // texts of the boxes answered
    std::vector<std::string> captions_;

private:
    static INT_PTR CALLBACK DialogSide(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_PROGRESS_TIMER) {
            if (wParam == kStartProgressTimer) {
                ::SetTimer(dialog, ID_TIMER_PROGRESS, kProgressPeriodMs, nullptr);
                log_->push_back("timer start");
            } else {
                ::KillTimer(dialog, ID_TIMER_PROGRESS);
                log_->push_back("timer stop");
            }
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            log_->push_back("IDCANCEL");
            return TRUE;
        }
        return FALSE;
    }

    // A message box owned by the dialog: its text is the static 0xFFFF; OK answers it.
    static BOOL CALLBACK AnswerBox(HWND window, LPARAM self) {
        auto& test = *reinterpret_cast<WineTransferTest*>(self);
        char className[32] = {};
        if (::GetWindow(window, GW_OWNER) != test.dialog_ || !::IsWindowVisible(window) ||
            ::GetClassNameA(window, className, sizeof className) == 0 ||
            std::string_view(className) != "#32770" || ::GetDlgItem(window, 0xFFFF) == nullptr ||
            !test.answered_.insert(window).second) {
            return TRUE;
        }
        char text[1024] = {};
        char caption[256] = {};
        ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        ::GetWindowTextA(window, caption, sizeof caption);
        test.boxes_.push_back(text);
        test.captions_.push_back(caption);
        test.events_.push_back("box");
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    static inline std::vector<std::string>* log_ = nullptr;
    TestDrives drives_{"transfer"};
    std::set<HWND> answered_;
};
