// An enumerated disk's instance ID as the registry hands it over, against every model's pattern.
#include "Expect.h"
#include "discovery/DeviceId.h"

#include <algorithm>
#include <string>

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// The first 42 bytes, short data padded with NUL, equal to the pattern when both are lower-cased.
bool ModelMatches(std::string_view data, std::string_view pattern) {
    std::string padded(data.substr(0, std::min(data.size(), kComparedIdLength)));
    padded.resize(kComparedIdLength, '\0');
    return std::ranges::equal(padded, pattern, {}, Lower, Lower);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view id = BytesOf(data, size);
    int matches = 0;
    for (const std::string_view pattern : hardwareIdPatterns) {
        const bool matched = MatchesHardwareId(id, pattern);
        Expect(matched == ModelMatches(id, pattern), "the first 42 characters equal, ignoring case");
        matches += matched ? 1 : 0;
    }
    Expect(matches <= 1, "the models' patterns differ after folding, so an ID matches at most one");
    return 0;
}
