#pragma once
// What discovery and the transfer worker ask of the updater window, declared below them and
// implemented by the window (ui/). Every box is modal and owned by the window; from the worker's
// thread each request waits until the window's thread has served it.
#include "platform/Types.h"

#include <string>

// The caption of the updater's own messages.
inline constexpr char kUpdaterCaption[] = "Tolvo r5xx Firmware Updater";

// `text` with the updater's caption and an OK button.
void ShowMessage(platform::WindowHandle window, const std::string& text);
// A text of the system's own, with the program's name as caption and an OK button.
void ShowSystemMessage(platform::WindowHandle window, const std::string& text);
// Fills the two version lines.
void ShowVersionLines(platform::WindowHandle window, const std::string& installed,
                      const std::string& offered);
// Stops the poll, says why and ends the run.
void RefuseRun(platform::WindowHandle window, const std::string& why);
// Shows `text` with the progress bar held still while the box is up.
void ShowMessageWithProgressHeld(platform::WindowHandle window, const std::string& text);
// Stops the progress for good: the window empties its bar.
void StopProgress(platform::WindowHandle window);
// Closes the window, which ends the process.
void EndRun(platform::WindowHandle window);
