#pragma once
// What discovery and the transfer worker ask of the updater window. They own this interface; the
// window (ui/) implements it and installs it into the context before it opens, and tests install
// a recording of their own. Once the window has gone, every request returns at once and reaches
// nothing, so a worker still running finds a live object that shows nothing.
#include <string>

class WindowRequests {
public:
    // From the window's thread (a poll): a text of the system's own, with the program's name as
    // caption and an OK button. Returns when the user has answered; the box runs a message loop
    // meanwhile, so other polls may run before it returns.
    virtual void ShowSystemMessage(const std::string& text) = 0;
    // From the window's thread: fills the two version lines; done when it returns.
    virtual void ShowVersionLines(const std::string& installed, const std::string& offered) = 0;
    // From the window's thread: stops the poll, shows `why` with the updater's caption until the
    // user answers, then asks the window to close. Returns before the window has closed.
    virtual void RefuseRun(const std::string& why) = 0;

    // From the worker's thread: `text` with the updater's caption and an OK button. The box is the
    // worker's own, owned by the window; it waits for the user, not for the window's thread.
    virtual void ShowMessage(const std::string& text) = 0;
    // From the worker's thread: as ShowMessage, with the progress bar held still while the box is
    // up. Holding and resuming each wait until the window's thread has done them.
    virtual void ShowMessageWithProgressHeld(const std::string& text) = 0;
    // From the worker's thread: stops the progress for good, the bar emptied; waits until the
    // window's thread has done it.
    virtual void StopProgress() = 0;
    // From either thread: asks the window to close, which ends the process. Does not wait.
    virtual void EndRun() = 0;

protected:
    ~WindowRequests() = default;
};
