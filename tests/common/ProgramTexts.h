#pragma once
// The program's texts as the tests of both tiers expect to see them, written once. Tests compare
// what the program shows with these, never with the program's own constants, so that a changed
// text fails a test.
#include <string>
#include <string_view>

// The program's name: its window's title, and the caption of the boxes about its own errors.
inline constexpr char kProgramName[] = "Tolvo Firmware Updater";
// The caption of its messages about the upgrade.
inline constexpr char kMessageCaption[] = "Tolvo r5xx Firmware Updater";
inline constexpr char kAboutCaption[] = "About Orvane";
inline constexpr char kAboutMenuItem[] = "&About Orvane...";

inline constexpr char kCompletionText[] =
    "The QuorVex Tolvo r5xx new firmware has been successfully downloaded\n"
    "   to the device. Please disconnect the device from the USB port and \n"
    "   reboot the Tolvo to complete the upgrade process.";
inline constexpr char kNoneReceivedText[] = "No device received the new firmware. F/W upgrade is failed.";

inline constexpr char kExitQuestion[] =
    "Are you sure you want to exit the Tolvo r500 Series firmware update?\nClick \"Yes\" "
    "to exit the upgrade program. Click \"No\" to resume the upgrade process.";
inline constexpr char kExitCaption[] = "Cancellation Confirmation";

inline std::string DowngradeText(std::string_view installed) {
    return "Set firmware version is " + std::string(installed) + ". You must not downgrade!!";
}
