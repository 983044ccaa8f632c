#pragma once
// The texts the transfer shows, each in a box owned by the dialog with the updater's caption.
// Every text about one drive starts with its root, as in "E:\ ".
#include "transfer/PlayerCheck.h"
#include "transfer/SafeCopy.h"

#include <string>

// Three pieces, joined as they are.
inline constexpr char kCompletionMessage[] =
    "The QuorVex Tolvo r5xx new firmware has been successfully downloaded\n"
    "   to the device. Please disconnect the device from the USB port and \n"
    "   reboot the Tolvo to complete the upgrade process.";
inline constexpr char kNoPlayerUpdatedMessage[] =
    "No device received the new firmware. F/W upgrade is failed.";

std::string DiskFullMessage(char letter);
std::string FreeSpaceUnknownMessage(char letter, long errorCode);
std::string RefusalMessage(char letter, const PlayerRefusal& refusal, const std::string& targetVersion);
std::string CopyFailureMessage(char letter, const CopyOutcome& outcome);
