#include "transfer/TransferMessages.h"

#include "discovery/DriveLocator.h"
#include "platform/Errors.h"

namespace {

constexpr char kNothingWritten[] = " Nothing was written to it.";
constexpr char kFileUnchanged[] = " The firmware file on this device was not changed.";

std::string Root(char letter) {
    return PathInDriveRoot(letter, "") + " ";
}

std::string SystemError(long errorCode) {
    return errorCode == 0 ? "" : " (system error " + std::to_string(errorCode) + ")";
}

} // namespace

std::string DiskFullMessage(char letter) {
    return Root(letter) + "Disk is Full!!! F/W upgrade is failed.";
}

std::string FreeSpaceUnknownMessage(char letter, long errorCode) {
    return Root(letter) + "The free space of this device could not be read" + SystemError(errorCode) + "." +
           kNothingWritten;
}

std::string RefusalMessage(char letter, const PlayerRefusal& refusal, const std::string& targetVersion) {
    const std::string& installed = refusal.installedVersion;
    std::string why;
    switch (refusal.reason) {
    case PlayerRefusal::Reason::VersionUnreadable:
        why = "The firmware version of this device could not be read.";
        break;
    case PlayerRefusal::Reason::OtherLine:
        why = "This device runs firmware " + installed + ", of another line than the new firmware " +
              targetVersion + ".";
        break;
    case PlayerRefusal::Reason::Downgrade:
        why = "This device runs firmware " + installed + ", newer than the new firmware " + targetVersion +
              ". You must not downgrade!!";
        break;
    case PlayerRefusal::Reason::LanguageMismatch:
        why = "The language of firmware " + installed +
              " on this device is not equal to that of the new firmware " + targetVersion + ".";
        break;
    }
    return Root(letter) + why + kNothingWritten;
}

std::string CopyFailureMessage(char letter, const CopyOutcome& outcome) {
    std::string what;
    switch (outcome.failure) {
    case CopyFailure::None:
        return {};
    case CopyFailure::ImageUnreadable:
        what = "The firmware image could not be read";
        break;
    case CopyFailure::WriteFailed:
        what = outcome.errorCode == ERROR_WRITE_PROTECT
                   ? "This device is write-protected"
                   : "The new firmware could not be written to this device";
        break;
    case CopyFailure::VerifyFailed:
        what = "The new firmware did not read back correctly from this device";
        break;
    case CopyFailure::ImageChanged:
        what = "The firmware image changed while it was copied";
        break;
    case CopyFailure::ReplaceFailed:
        what = "The new firmware could not be put in place of the old one";
        break;
    case CopyFailure::PlayerChanged:
        what = "Another device took the place of the one checked while the new firmware was copied";
        break;
    }
    return Root(letter) + what + SystemError(outcome.errorCode) + "." + kFileUnchanged;
}
