#include "discovery/VendorMarker.h"

#include "discovery/VersionFile.h"

#include <vector>

bool CarriesVendorText(std::string_view bytes) {
    const std::vector<char> text = AnsiFromUtf16Bytes(bytes.data(), bytes.size());
    return TextIn(text).find(kVendorText) != std::string_view::npos;
}
