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

// The code points the units stand for, a lone surrogate standing for U+FFFD.
inline std::u32string CodePointsOfUnits(const std::u16string& units) {
    std::u32string points;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool high = units[i] >= 0xD800 && units[i] < 0xDC00;
        const bool lowNext = i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
        if (high && lowNext) {
            points += static_cast<char32_t>(0x10000 + ((units[i] & 0x3FF) << 10 | (units[i + 1] & 0x3FF)));
            ++i;
        } else {
            points += units[i] >= 0xD800 && units[i] < 0xE000 ? char32_t{0xFFFD} : char32_t{units[i]};
        }
    }
    return points;
}

// The code points of UTF-8 text, decoded by the length its lead bytes announce; a byte that cannot
// lead or follow gives U+0000 so that no comparison with real text can succeed.
inline std::u32string CodePointsOfUtf8(std::string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            points += U'\0';
            ++i;
            continue;
        }
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            point = point << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points += point;
        i += length;
    }
    return points;
}
