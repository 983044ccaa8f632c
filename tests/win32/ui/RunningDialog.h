#pragma once
// The real updater dialog, run modally on a thread of its own so a test can drive it with messages.
// Every wait is bounded: a broken window fails the test instead of hanging the run.
#include "support/MessageBoxes.h"
#include "ui/UpdaterDialog.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// The top-level dialog-class window owned by `owner` for which `accept` holds, or null.
inline HWND FindOwnedDialog(HWND owner, const std::function<bool(HWND)>& accept) {
    return FindDialog([&](HWND window) { return GetWindow(window, GW_OWNER) == owner && accept(window); });
}

inline INT_PTR RunUpdaterDialog(UpdaterContext& context) {
    UpdaterDialog dialog(context);
    return dialog.DoModal();
}

class RunningDialog {
public:
    using Run = INT_PTR (*)(UpdaterContext&); // runs the window modally until it ends
    // `beforeOpen` runs on the dialog's thread before its window is made (to hook that thread).
    explicit RunningDialog(std::function<void()> beforeOpen = {}, Run run = &RunUpdaterDialog)
        : shared_(std::make_shared<Shared>()) {
        thread_ = std::thread([shared = shared_, beforeOpen = std::move(beforeOpen), run] {
            if (beforeOpen) {
                beforeOpen();
            }
            shared->result = run(shared->context);
            shared->done = true;
        });
    }

    ~RunningDialog() {
        if (!shared_->done) {
            if (HWND box = FindOwnedDialog(Window(), [](HWND) { return true; })) {
                PostClick(box, IDCANCEL);
                PostClick(box, IDNO);
            }
            PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0);
            WaitFor([this] { return Ended(); });
        }
        // A thread that would not end keeps only its shared state alive.
        if (shared_->done) {
            thread_.join();
        } else {
            thread_.detach();
        }
    }

    UpdaterContext& Context() { return shared_->context; }
    HWND Window() const { return reinterpret_cast<HWND>(shared_->context.mainDialog.load()); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }

    // True once the dialog's window exists and is on screen.
    bool WaitForWindow() {
        return WaitFor([this] { return Window() != nullptr && IsWindowVisible(Window()); });
    }
    bool Ended() const { return shared_->done; }
    bool WaitForEnd() {
        return WaitFor([this] { return Ended(); });
    }
    INT_PTR Result() const { return shared_->result; }

private:
    struct Shared {
        UpdaterContext context;
        std::atomic<bool> done{false};
        std::atomic<INT_PTR> result{0};
    };
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
