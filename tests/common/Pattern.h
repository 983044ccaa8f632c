#pragma once
// Test image bytes that differ from chunk to chunk and from seed to seed, so a misplaced, repeated
// or missing chunk shows in a comparison. Shared by both test tiers.
#include <cstddef>
#include <cstdint>
#include <string>

inline std::string Pattern(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}
