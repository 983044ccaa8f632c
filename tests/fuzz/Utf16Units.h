#pragma once
// A file's bytes as the player's UTF-16LE text: the code units before the first NUL unit, an odd
// last byte forming a unit with a zero above it.
#include <string>
#include <string_view>

inline std::u16string Utf16UnitsOf(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        const auto unit = static_cast<char16_t>(low | high << 8);
        if (unit == u'\0') {
            break;
        }
        units += unit;
    }
    return units;
}
