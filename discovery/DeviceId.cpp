#include "discovery/DeviceId.h"

#include <algorithm>

static_assert(std::ranges::all_of(hardwareIdPatterns, [](std::string_view pattern) {
    return pattern.size() == kComparedIdLength;
}));

namespace {

char FoldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char At(std::string_view text, std::size_t i) {
    return i < text.size() ? text[i] : '\0';
}

} // namespace

bool MatchesHardwareId(std::string_view data, std::string_view pattern) {
    for (std::size_t i = 0; i < kComparedIdLength; ++i) {
        if (FoldCase(At(data, i)) != FoldCase(At(pattern, i))) {
            return false;
        }
    }
    return true;
}
