#pragma once
// A harness's check of a result against its model. A failure ends the run as a crash, so libFuzzer
// keeps the input that caused it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void Expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "model check failed: %s\n", what);
        std::abort();
    }
}

inline std::string_view BytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
