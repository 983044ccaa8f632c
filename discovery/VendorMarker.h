#pragma once
// The vendor text that marks a player's certificate file.
#include <string_view>

inline constexpr char kVendorText[] = "Qtx Labs";

// Whether `bytes`, a certificate file's content read as UTF-16LE and converted to ANSI
// (AnsiFromUtf16Bytes), contain the vendor text, exactly and with case significant.
bool CarriesVendorText(std::string_view bytes);
