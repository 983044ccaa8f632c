#include "discovery/WideText.h"

#include "platform/Text.h"

#include <algorithm>
#include <string>

int WideToAnsi(const char16_t* wide, char* narrow, int capacity) {
    // A capacity of 0 would ask the system for the size needed instead, which is no conversion.
    if (capacity < 1) {
        return -1;
    }
    const auto units = static_cast<int>(platform::wcslen(wide)) + 1;
    const int written = platform::WideCharToMultiByte(wide, units, narrow, capacity);
    return written == 0 ? -1 : written - 1;
}

std::vector<char> AnsiFromUtf16Bytes(const char* bytes, std::size_t length) {
    std::u16string wide;
    for (std::size_t i = 0; i < length; i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = i + 1 < length ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        const auto unit = static_cast<char16_t>(low | high << 8);
        if (unit == 0) {
            break;
        }
        wide += unit;
    }
    // One byte a unit is enough for the single-byte code pages, but not for UTF-8, the code page
    // the program asks for, where a unit takes up to three bytes (a surrogate pair four).
    std::vector<char> narrow(3 * ((length + 1) / 2) + 1, 0);
    WideToAnsi(wide.c_str(), narrow.data(), static_cast<int>(narrow.size()));
    return narrow;
}

std::string_view TextIn(const std::vector<char>& buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return {buffer.data(), static_cast<std::size_t>(end - buffer.begin())};
}
