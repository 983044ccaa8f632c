// Two version texts, the installed and the offered, and the verdict on them. The first byte says
// how many of the rest form the installed text.
#include "Expect.h"
#include "discovery/VersionPolicy.h"

#include <cctype>
#include <cmath>
#include <optional>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A text with digits at 0, 2 and 4 in thousandths: c0.c2c4, and c5 of a six-character text.
std::optional<int> Thousandths(std::string_view text) {
    if (text.size() < 5 || !IsDigit(text[0]) || !IsDigit(text[2]) || !IsDigit(text[4])) {
        return std::nullopt;
    }
    int value = (text[0] - '0') * 1000 + (text[2] - '0') * 100 + (text[4] - '0') * 10;
    if (text.size() == 6 && IsDigit(text[5])) {
        value += text[5] - '0';
    }
    return value;
}

int LastOf(std::string_view text) {
    return text.empty() ? -1 : static_cast<unsigned char>(text.back());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view rest = BytesOf(data + 1, size - 1);
    const std::string_view device = rest.substr(0, std::min<std::size_t>(data[0], rest.size()));
    const std::string_view target = rest.substr(device.size());

    // An exponent past single precision's range gives infinity, as atof's double stored in a float does.
    Expect(!std::isnan(VersionNumber(device)), "a version is a number");
    const VersionVerdict verdict = EvaluateVersionPolicy(device, target);
    if (verdict != VersionVerdict::Downgrade) {
        Expect((verdict == VersionVerdict::Accept) == (LastOf(device) == LastOf(target)),
               "past the downgrade check, the last characters decide");
    }
    Expect(EvaluateVersionPolicy(device, device) == VersionVerdict::Accept, "a version may replace itself");

    // Exactly one hundredth below is left to single-precision rounding; everything else is plain.
    const auto installed = Thousandths(device);
    const auto offered = Thousandths(target);
    if (installed && offered && *installed - *offered != 10) {
        Expect((verdict == VersionVerdict::Downgrade) == (*installed - *offered > 10),
               "an offer more than one hundredth below is a downgrade, anything else is not");
    }

    const std::array<ImagePair, 3> pairs = {ImagePair{"one", "1"}, ImagePair{"two", "2"},
                                            ImagePair{"three", "3"}};
    const auto pair = ImagePairForLine(pairs, device);
    const bool hasLine = !device.empty() && device[0] >= '1' && device[0] <= '3';
    Expect(pair.has_value() == hasLine && (!pair || pair->version[0] == device[0]),
           "the line digit picks its pair");
    return 0;
}
