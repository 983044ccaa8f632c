#pragma once
// Records the messages that reach the windows of one thread: those sent to them (WH_CALLWNDPROC,
// before the window procedure runs, so a DC passed along is still valid when it is looked at) and
// those the thread's message loop takes from its queue (WH_GETMESSAGE), such as WM_PAINT.
#include <windows.h>

#include <mutex>
#include <vector>

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    HWND dcWindow; // for WM_ICONERASEBKGND: the window whose DC wParam is, when it is one
};

class MessageLog {
public:
    MessageLog() { instance_ = this; }
    ~MessageLog() {
        for (HHOOK hook : hooks_) {
            UnhookWindowsHookEx(hook);
        }
        instance_ = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Call on the thread to watch, before its windows are made.
    void WatchThisThread() {
        hooks_[0] = SetWindowsHookExA(WH_CALLWNDPROC, &Sent, nullptr, GetCurrentThreadId());
        hooks_[1] = SetWindowsHookExA(WH_GETMESSAGE, &Taken, nullptr, GetCurrentThreadId());
    }
    bool Watching() const { return hooks_[0] != nullptr && hooks_[1] != nullptr; }

    std::vector<LoggedMessage> To(HWND window, UINT message) const {
        std::lock_guard hold(lock_);
        std::vector<LoggedMessage> found;
        for (const LoggedMessage& m : log_) {
            if (m.window == window && m.message == message) {
                found.push_back(m);
            }
        }
        return found;
    }
    void Clear() {
        std::lock_guard hold(lock_);
        log_.clear();
    }

private:
    static void Log(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        const HWND dcWindow =
            message == WM_ICONERASEBKGND ? WindowFromDC(reinterpret_cast<HDC>(wParam)) : nullptr;
        std::lock_guard hold(instance_->lock_);
        instance_->log_.push_back({window, message, wParam, lParam, dcWindow});
    }
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && instance_ != nullptr) {
            const auto& m = *reinterpret_cast<const CWPSTRUCT*>(lParam);
            Log(m.hwnd, m.message, m.wParam, m.lParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Taken(int code, WPARAM removed, LPARAM lParam) {
        if (code == HC_ACTION && removed == PM_REMOVE && instance_ != nullptr) {
            const auto& m = *reinterpret_cast<const MSG*>(lParam);
            Log(m.hwnd, m.message, m.wParam, m.lParam);
        }
        return CallNextHookEx(nullptr, code, removed, lParam);
    }

    static inline MessageLog* instance_ = nullptr;
    HHOOK hooks_[2] = {};
    mutable std::mutex lock_;
    std::vector<LoggedMessage> log_;
};
