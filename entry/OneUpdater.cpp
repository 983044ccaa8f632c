#include "entry/OneUpdater.h"

#include "platform/Errors.h"
#include "platform/Process.h"
#include "platform/Window.h"
#include "ui/DialogRequests.h"
#include "ui/UpdaterDialog.h"

namespace {

constexpr char kUpdaterMark[] = "Global\\Tolvo r5xx Firmware Updater";
constexpr char kDialogClass[] = "#32770";
constexpr char kOtherSessionMessage[] =
    "Another Tolvo Firmware Updater is running on this computer, in another session. Only one can "
    "upgrade a player at a time.";
// A second start that follows the first closely finds the mark before the first one's window.
constexpr unsigned kWindowWaitMs = 3000;
constexpr unsigned kWindowLookMs = 100;

platform::WindowHandle FindRunningUpdater() {
    for (unsigned waited = 0;; waited += kWindowLookMs) {
        if (const platform::WindowHandle window = platform::FindWindowA(kDialogClass, kUpdaterWindowTitle)) {
            return window;
        }
        if (waited >= kWindowWaitMs) {
            return nullptr;
        }
        platform::Sleep(kWindowLookMs);
    }
}

} // namespace

bool BecomeTheOnlyUpdater() {
    if (platform::CreateMutexA(kUpdaterMark)) {
        return true;
    }
    const long why = platform::GetLastError();
    if (why != ERROR_ALREADY_EXISTS && why != ERROR_ACCESS_DENIED) {
        return true; // no mark to be had: an updater unguarded is better than none at all
    }
    const platform::WindowHandle running = FindRunningUpdater();
    if (running == nullptr) {
        ShowUpdaterMessage(nullptr, kOtherSessionMessage);
        return false;
    }
    // Its box, when one is up, is what waits for the user.
    platform::SetForegroundWindow(platform::GetLastActivePopup(running));
    return false;
}
