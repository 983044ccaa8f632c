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
    // Each request as one line, "kind: text" or "kind": "system message: T", "version lines: I | O",
    // "refuse run: W", "message: T", "message, progress held: T", "stop progress", "end run".
    std::vector<std::string> Requests() const {
        return Select(
            [](const Request&) { return true; },
            [](const Request& r) { return r.text.empty() && !r.box ? r.kind : r.kind + ": " + r.text; });
    }
    // The texts of the requests of one kind, in order.
    std::vector<std::string> Of(const std::string& kind) const {
        return Select([&](const Request& r) { return r.kind == kind; },
                      [](const Request& r) { return r.text; });
    }
    // The texts of the requests that show a box, in order.
    std::vector<std::string> Texts() const {
        return Select([](const Request& r) { return r.box; }, [](const Request& r) { return r.text; });
    }
    // Runs inside each request that shows a box, as while the box is up.
    void WhileShown(std::function<void()> action) { whileShown_ = std::move(action); }

    void ShowSystemMessage(const std::string& text) override { Box("system message", text); }
    void ShowVersionLines(const std::string& installed, const std::string& offered) override {
        Record({"version lines", installed + " | " + offered, false});
    }
    void RefuseRun(const std::string& why) override { Box("refuse run", why); }
    void ShowMessage(const std::string& text) override { Box("message", text); }
    void ShowMessageWithProgressHeld(const std::string& text) override {
        Box("message, progress held", text);
    }
    void StopProgress() override { Record({"stop progress", "", false}); }
    void EndRun() override { Record({"end run", "", false}); }

private:
    struct Request {
        std::string kind;
        std::string text;
        bool box; // shown as a message box
    };

    template <typename Keep, typename Show> std::vector<std::string> Select(Keep keep, Show show) const {
        std::lock_guard hold(lock_);
        std::vector<std::string> selected;
        for (const Request& request : requests_) {
            if (keep(request)) {
                selected.push_back(show(request));
            }
        }
        return selected;
    }
    void Record(Request request) {
        std::lock_guard hold(lock_);
        requests_.push_back(std::move(request));
    }
    void Box(const char* kind, const std::string& text) {
        Record({kind, text, true});
        if (whileShown_) {
            whileShown_();
        }
    }

    mutable std::mutex lock_;
    std::vector<Request> requests_;
    std::function<void()> whileShown_; // set before any worker starts
};
