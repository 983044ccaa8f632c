#pragma once
// The tests' own side of what discovery and the transfer worker ask of the window: every request
// recorded in order, from whichever thread it came, and nothing shown.
#include "app/WindowRequests.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

class RecordedWindowRequests final : public WindowRequests {
public:
    // Each request as one line: "system message: T", "version lines: I | O", "refuse run: W",
    // "message: T", "message, progress held: T", "stop progress", "end run".
    std::vector<std::string> Requests() const {
        std::lock_guard hold(lock_);
        return requests_;
    }
    // The texts of the requests that show a box, in order.
    std::vector<std::string> Texts() const {
        std::lock_guard hold(lock_);
        return texts_;
    }
    // Runs inside each request that shows a box, as while the box is up.
    void WhileShown(std::function<void()> action) { whileShown_ = std::move(action); }

    void ShowSystemMessage(const std::string& text) override { Box("system message: ", text); }
    void ShowVersionLines(const std::string& installed, const std::string& offered) override {
        Record("version lines: " + installed + " | " + offered);
    }
    void RefuseRun(const std::string& why) override { Box("refuse run: ", why); }
    void ShowMessage(const std::string& text) override { Box("message: ", text); }
    void ShowMessageWithProgressHeld(const std::string& text) override {
        Box("message, progress held: ", text);
    }
    void StopProgress() override { Record("stop progress"); }
    void EndRun() override { Record("end run"); }

private:
    void Record(std::string line) {
        std::lock_guard hold(lock_);
        requests_.push_back(std::move(line));
    }
    void Box(const std::string& kind, const std::string& text) {
        Record(kind + text);
        {
            std::lock_guard hold(lock_);
            texts_.push_back(text);
        }
        if (whileShown_) {
            whileShown_();
        }
    }

    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    std::vector<std::string> texts_;
    std::function<void()> whileShown_; // set before any worker starts
};
