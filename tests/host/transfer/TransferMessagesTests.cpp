#include "platform/Errors.h"
#include "tests/common/SystemValues.h"
#include "transfer/TransferMessages.h"

#include <gtest/gtest.h>

namespace {

TEST(CopyFailureMessageTest, NamesTheDriveTheFailureAndASystemErrorWhenThereIsOne) {
    const struct {
        CopyOutcome outcome;
        const char* text;
    } cases[] = {
        {{CopyFailure::None, 0}, ""},
        {{CopyFailure::ImageUnreadable, ERROR_FILE_NOT_FOUND},
         "F:\\ The firmware image could not be read (system error 2). The firmware file on this device was "
         "not "
         "changed."},
        {{CopyFailure::WriteFailed, ERROR_DISK_FULL},
         "F:\\ The new firmware could not be written to this device (system error 112). The firmware file on "
         "this device was not changed."},
        {{CopyFailure::WriteFailed, ERROR_WRITE_PROTECT},
         "F:\\ This device is write-protected (system error 19). The firmware file on this device was not "
         "changed."},
        {{CopyFailure::VerifyFailed, 0},
         "F:\\ The new firmware did not read back correctly from this device. The firmware file on this "
         "device "
         "was not changed."},
        {{CopyFailure::ImageChanged, 0},
         "F:\\ The firmware image changed while it was copied. The firmware file on this device was not "
         "changed."},
        {{CopyFailure::ReplaceFailed, ERROR_ACCESS_DENIED},
         "F:\\ The new firmware could not be put in place of the old one (system error 5). The firmware file "
         "on "
         "this device was not changed."},
        {{CopyFailure::PlayerChanged, 0},
         "F:\\ Another device took the place of the one checked while the new firmware was copied. The "
         "firmware file on this device was not changed."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CopyFailureMessage('F', c.outcome), c.text);
    }
}

} // namespace
