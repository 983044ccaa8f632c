#include "transfer/SafeCopy.h"

#include "discovery/DriveLocator.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "transfer/PassingHold.h"
#include "transfer/ReadBack.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// FNV-1a over 64-bit words in four interleaved lanes (so the multiplications need not wait on one
// another), then the bytes left over: a few milliseconds for 64 MiB, beside the copy itself.
class Digest {
public:
    void Add(const char* bytes, std::uint32_t count) {
        constexpr std::uint32_t kWord = sizeof(std::uint64_t);
        std::uint32_t at = 0;
        for (; at + kLanes * kWord <= count; at += kLanes * kWord) {
            for (std::size_t lane = 0; lane < kLanes; ++lane) {
                Mix(lane, Word(bytes + at + lane * kWord));
            }
        }
        for (; at + kWord <= count; at += kWord) {
            Mix(0, Word(bytes + at));
        }
        for (; at < count; ++at) {
            Mix(0, static_cast<unsigned char>(bytes[at]));
        }
        length_ += count;
    }
    std::uint64_t Value() const {
        std::uint64_t value = length_;
        for (const std::uint64_t lane : lanes_) {
            value = (value ^ lane) * kPrime;
        }
        return value;
    }
    std::uint64_t Length() const { return length_; }

private:
    static constexpr std::size_t kLanes = 4;
    static constexpr std::uint64_t kPrime = 0x100000001b3ull;

    static std::uint64_t Word(const char* bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    void Mix(std::size_t lane, std::uint64_t part) { lanes_[lane] = (lanes_[lane] ^ part) * kPrime; }

    std::uint64_t lanes_[kLanes] = {0xcbf29ce484222325ull, 0xcbf29ce484222325ull ^ 1,
                                    0xcbf29ce484222325ull ^ 2, 0xcbf29ce484222325ull ^ 3};
    std::uint64_t length_ = 0;
};

// The digest of the first `length` bytes of the copy (all of it when shorter), as its medium holds them.
std::uint64_t DigestOf(const std::string& copyPath, std::uint64_t length) {
    ReadBack copy(copyPath);
    Digest digest;
    while (digest.Length() < length) {
        const auto wanted =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(length - digest.Length(), copy.ChunkBytes()));
        const std::span<const char> read = copy.Read(wanted);
        digest.Add(read.data(), static_cast<std::uint32_t>(read.size()));
        if (read.size() < wanted) {
            break;
        }
    }
    return digest.Value();
}

CopyOutcome Discard(const std::string& temporary, CopyOutcome outcome) {
    DeletePlayerFile(temporary);
    return outcome;
}

} // namespace

SentImage WriteImageCopy(const std::string& imagePath, const std::string& targetPath) {
    platform::File image;
    image.OpenOrThrow(imagePath, platform::File::Mode::ReadShared);
    const std::uint64_t length = image.GetLength();
    const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyBufferBytes);
    platform::File target;
    OpenPlayerFileOrThrow(target, targetPath, platform::File::Mode::CreateWrite);
    target.SetLength(length);
    image.SeekToBegin();
    target.SeekToBegin();
    Digest sent;
    for (;;) {
        const std::uint32_t read = image.Read(buffer.get(), kCopyBufferBytes);
        target.Write(buffer.get(), read);
        sent.Add(buffer.get(), read);
        if (read < kCopyBufferBytes) {
            break;
        }
    }
    target.Flush();
    target.Close();
    return {sent.Length(), sent.Value()};
}

bool SameContent(const std::string& imagePath, const std::string& copyPath) {
    platform::File image;
    image.OpenOrThrow(imagePath, platform::File::Mode::ReadShared);
    ReadBack copy(copyPath);
    std::uint64_t left = image.GetLength();
    if (copy.GetLength() != left) {
        return false;
    }
    const auto imageBytes = std::make_unique_for_overwrite<char[]>(copy.ChunkBytes());
    while (left > 0) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, copy.ChunkBytes()));
        // A file that ends early (shortened meanwhile) reads short and compares unequal.
        if (image.Read(imageBytes.get(), chunk) != chunk) {
            return false;
        }
        const std::span<const char> copyBytes = copy.Read(chunk);
        if (copyBytes.size() != chunk || std::memcmp(imageBytes.get(), copyBytes.data(), chunk) != 0) {
            return false;
        }
        left -= chunk;
    }
    return true;
}

CopyOutcome CopyImageToDrive(const TransferJob& job, char letter,
                             const std::function<bool()>& stillTheCheckedPlayer) {
    const std::string& image = job.chosen.imagePath;
    const std::string temporary = PathInDriveRoot(letter, kTemporaryFileName);
    const std::string target = PathInDriveRoot(letter, kTargetFileName);
    CopyFailure stage = CopyFailure::WriteFailed;
    try {
        const SentImage sent = WriteImageCopy(image, temporary);
        stage = CopyFailure::VerifyFailed;
        if (!SameContent(image, temporary)) {
            // When the medium kept what was sent, it is the image that changed meanwhile (a stale
            // length set beforehand may follow what was sent).
            const bool imageChanged = DigestOf(temporary, sent.length) == sent.digest;
            return Discard(temporary,
                           {imageChanged ? CopyFailure::ImageChanged : CopyFailure::VerifyFailed, 0});
        }
        if (stillTheCheckedPlayer && !stillTheCheckedPlayer()) {
            return Discard(temporary, {CopyFailure::PlayerChanged, 0});
        }
        if (!ReplacePlayerFile(temporary, target)) {
            return Discard(temporary, {CopyFailure::ReplaceFailed, platform::GetLastError()});
        }
        return {};
    } catch (const platform::FileError& error) {
        return Discard(temporary,
                       {error.Path() == image ? CopyFailure::ImageUnreadable : stage, error.Code()});
    }
}
