#pragma once
// The player's UTF-16LE text for plain ASCII test texts. Shared by both test tiers.
#include <string>
#include <string_view>

// Each char becomes one code unit of the same value.
inline std::string Utf16(std::string_view text) {
    std::string bytes;
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}
