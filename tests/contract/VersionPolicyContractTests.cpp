// The version policy as each tier's C runtime and floating point decide it: the number is read by
// strtod and held in single precision, so the one-hundredth boundary is where the runtime puts it.
#include "discovery/VersionPolicy.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(VersionPolicyContract, ReadsLineAndDigitsAsADecimalNumber) {
    struct Case {
        const char* text;
        float expected;
    };
    const Case cases[] = {
        {"1.1.5E", 1.15f},
        {"1.2.3", 1.23f},
        {"1.1.10", 1.11f},
        {"2.0.0", 2.0f},
        {"3.9.9K", 3.99f},
        // Texts too short for positions 2 and 4 stop where they end.
        {"0.0", 0.0f},
        {"1.2", 1.2f},
        {"1", 1.0f},
        {"", 0.0f},
        // No leading number gives 0, as atof does.
        {"X.1.5E", 0.0f},
        {"1.1.5E\r\n", 1.15f},
        // An exponent beyond single precision, as atof's double stored in a float.
        {"9.e.99", std::numeric_limits<float>::infinity()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VersionNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(VersionPolicyContract, RefusesOlderOffersAndOtherLanguagesInSinglePrecision) {
    struct Case {
        const char* device;
        const char* target;
        VersionVerdict expected;
    };
    const Case cases[] = {
        {"1.1.5E", "1.1.6E", VersionVerdict::Accept},
        {"1.1.6E", "1.1.6E", VersionVerdict::Accept},
        {"1.1.7E", "1.1.6E", VersionVerdict::Accept},
        {"1.1.8E", "1.1.6E", VersionVerdict::Downgrade},
        // One hundredth below: decided by the rounding of the installed number minus 0.01f.
        {"1.1.9E", "1.1.8E", VersionVerdict::Downgrade},
        {"2.0.2E", "2.0.1E", VersionVerdict::Accept},
        {"1.0.7E", "1.0.6E", VersionVerdict::Downgrade},
        {"2.0.0E", "1.9.9E", VersionVerdict::Accept},
        {"1.1.5E", "1.1.6K", VersionVerdict::LanguageMismatch},
        {"1.1.5E\r\n", "1.1.6E", VersionVerdict::LanguageMismatch},
        {"1.1.5E\r\n", "1.1.6E\r\n", VersionVerdict::Accept},
        // A downgrade is reported before a language difference.
        {"1.1.9E", "1.1.6K", VersionVerdict::Downgrade},
        // An empty text has no last character: it differs from any other and matches another empty one.
        {"", "0.0", VersionVerdict::LanguageMismatch},
        {"", "", VersionVerdict::Accept},
        {"1.1.5E", "0.0", VersionVerdict::Downgrade},
        // An infinite installed number refuses every finite offer, and only itself passes.
        {"9.e.99", "9.9.9s", VersionVerdict::Downgrade},
        {"9.e.99", "9.e.99", VersionVerdict::Accept},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EvaluateVersionPolicy(c.device, c.target), c.expected)
            << c.device << " against " << c.target;
    }
}

} // namespace
