// A certificate file's bytes: the UTF-16-to-ANSI conversion and the vendor-marker check on them.
#include "Expect.h"
#include "Utf16Units.h"
#include "discovery/VendorMarker.h"
#include "discovery/VersionFileSteps.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = BytesOf(data, size);

    // No unit outside ASCII converts to a letter of the marker, so the converted text carries it
    // exactly when the units spell it.
    const std::u16string units = Utf16UnitsOf(bytes);
    Expect(CarriesVendorText(bytes) == (units.find(u"Qtx Labs") != std::u16string::npos),
           "the marker is found exactly when the units spell it");

    // WideToAnsi itself: three bytes a unit always hold the UTF-8 text; exactly its length and the
    // NUL fit; one byte less fails.
    std::vector<char> narrow(3 * units.size() + 1, '#');
    const int length = WideToAnsi(units.c_str(), narrow.data(), static_cast<int>(narrow.size()));
    Expect(length >= 0 && narrow[length] == '\0', "the text and its NUL are converted");
    Expect(CodePointsOfUtf8({narrow.data(), static_cast<std::size_t>(length)}) == CodePointsOfUnits(units),
           "the text decodes to the units' characters");
    Expect(WideToAnsi(units.c_str(), narrow.data(), length + 1) == length, "its own length and the NUL fit");
    Expect(WideToAnsi(units.c_str(), narrow.data(), length) == -1,
           "a capacity without room for the NUL fails");
    return 0;
}
