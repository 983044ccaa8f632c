#include "transfer/PlayerCheck.h"

#include "discovery/VersionPolicy.h"

namespace {

bool SamePair(const ImagePair& a, const ImagePair& b) {
    return a.imagePath == b.imagePath && a.version == b.version;
}

} // namespace

std::optional<PlayerRefusal> RefusalFor(const TransferJob& job, const std::optional<std::string>& installed) {
    using Reason = PlayerRefusal::Reason;
    if (!installed) {
        return PlayerRefusal{Reason::VersionUnreadable, {}};
    }
    const std::optional<ImagePair> pair = ImagePairForLine(job.context->imagePairs, *installed);
    if (!pair || !SamePair(*pair, job.chosen)) {
        return PlayerRefusal{Reason::OtherLine, *installed};
    }
    switch (EvaluateVersionPolicy(*installed, job.chosen.version)) {
    case VersionVerdict::Downgrade:
        return PlayerRefusal{Reason::Downgrade, *installed};
    case VersionVerdict::LanguageMismatch:
        return PlayerRefusal{Reason::LanguageMismatch, *installed};
    case VersionVerdict::Accept:
        break;
    }
    return std::nullopt;
}
