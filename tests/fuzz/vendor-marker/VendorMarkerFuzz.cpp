// A certificate file's bytes: the UTF-16-to-ANSI conversion and the vendor-marker check on them.
#include "Expect.h"
#include "Utf16Units.h"
#include "discovery/VendorMarker.h"
#include "discovery/WideText.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = BytesOf(data, size);

    // No unit outside ASCII converts to a letter of the marker, so the converted text carries it
    // exactly when the units spell it.
    const std::u16string units = Utf16UnitsOf(bytes);
    Expect(CarriesVendorText(bytes) == (units.find(u"Qtx Labs") != std::u16string::npos),
           "the marker is found exactly when the units spell it");

    // WideToAnsi itself: a capacity of one byte per unit and the NUL fits; one less fails.
    std::vector<char> narrow(units.size() + 1, '#');
    Expect(WideToAnsi(units.c_str(), narrow.data(), static_cast<int>(narrow.size())) ==
               static_cast<int>(units.size()),
           "the narrow length is the number of units");
    Expect(narrow.back() == '\0', "the NUL is converted too");
    Expect(WideToAnsi(units.c_str(), narrow.data(), static_cast<int>(units.size())) == -1,
           "a capacity without room for the NUL fails");
    return 0;
}
