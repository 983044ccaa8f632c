#pragma once
// Copying the image onto one player so that its tolvr500.rom only ever holds the old image or the
// whole new one: the copy goes to a temporary file, is put on the medium, read back and compared,
// and only then renamed over the old file.
#include "transfer/TransferJob.h"

#include <cstdint>
#include <functional>
#include <string>

inline constexpr std::uint32_t kCopyBufferBytes = 40960;
inline constexpr char kTargetFileName[] = "tolvr500.rom";
inline constexpr char kTemporaryFileName[] = "tolvr500.tmp";

enum class CopyFailure {
    None,
    ImageUnreadable, // the image could not be opened or read
    WriteFailed,     // the temporary file could not be created, written or flushed
    VerifyFailed,    // the temporary file could not be read back, or differs from what was sent
    ImageChanged,    // the device kept what was sent, but the image changed while it was copied
    ReplaceFailed,   // the temporary file could not be renamed over tolvr500.rom
    PlayerChanged,   // the drive no longer held the player that was checked when the copy was done
};

struct CopyOutcome {
    CopyFailure failure = CopyFailure::None;
    long errorCode = 0; // the system error, or 0 when there is none (a mismatch)

    bool Succeeded() const { return failure == CopyFailure::None; }
};

// What went into a copy: how many bytes, and a digest of them.
struct SentImage {
    std::uint64_t length;
    std::uint64_t digest;
};

// Copies the image at `imagePath` to `targetPath` (created or truncated, its length set to the
// image's first) in chunks of kCopyBufferBytes, the last one shorter, even if empty; then flushes
// and closes it. Returns what it sent. Throws platform::FileError on any failure,
// leaving whatever was written.
SentImage WriteImageCopy(const std::string& imagePath, const std::string& targetPath);

// Whether the two files have the same length and bytes, the copy as its medium holds it (ReadBack).
// Throws platform::FileError when either cannot be read.
bool SameContent(const std::string& imagePath, const std::string& copyPath);

// Puts job.chosen.imagePath onto drive `letter` as tolvr500.rom: writes the temporary file (over a
// leftover one), verifies it and, when `stillTheCheckedPlayer` (if given) says the drive still
// holds the player that was checked, renames it over the old file. On failure the temporary file is
// removed (when the drive still allows it) and tolvr500.rom is as it was. Throws nothing the file
// layer raises.
CopyOutcome CopyImageToDrive(const TransferJob& job, char letter,
                             const std::function<bool()>& stillTheCheckedPlayer = {});
