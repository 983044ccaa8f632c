#pragma once
// The real updater dialog, run modally on a thread of its own so a test can drive it with messages.
// Every wait is bounded: a broken window fails the test instead of hanging the run.
#include "ui/UpdaterDialog.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// Polls `done` every few milliseconds until it holds or `deadline` passes; returns done().
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The first top-level dialog-class window for which `accept` holds, or null.
inline HWND FindDialog(const std::function<bool(HWND)>& accept) {
    struct Search {
        const std::function<bool(HWND)>* accept;
        HWND found;
    } search{&accept, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            char className[64] = {};
            GetClassNameA(window, className, sizeof(className));
            if (std::string(className) == "#32770" && (*s.accept)(window)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The top-level dialog-class window owned by `owner` for which `accept` holds, or null.
inline HWND FindOwnedDialog(HWND owner, const std::function<bool(HWND)>& accept) {
    return FindDialog([&](HWND window) { return GetWindow(window, GW_OWNER) == owner && accept(window); });
}

// A message box is a dialog whose text is the static control 0xFFFF.
inline HWND WaitForMessageBox(HWND owner) {
    HWND box = nullptr;
    WaitFor([&] {
        return (box = FindOwnedDialog(owner, [](HWND w) { return GetDlgItem(w, 0xFFFF) != nullptr; }));
    });
    return box;
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
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(box, WM_COMMAND, IDNO, 0);
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
