#include "platform/Text.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <string>

namespace platform {
namespace {

constexpr long kErrorInvalidParameter = 87;

// UTF-8, the ANSI code page the program's manifest asks for; a lone surrogate becomes U+FFFD.
std::string ToUtf8(const char16_t* wide, int length) {
    std::string narrow;
    for (int i = 0; i < length; ++i) {
        char32_t code = wide[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < length && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            narrow += static_cast<char>(code);
        } else if (code < 0x800) {
            narrow += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
        } else if (code < 0x10000) {
            narrow += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                       static_cast<char>(0x80 | (code & 0x3F))};
        } else {
            narrow += {static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | (code >> 12 & 0x3F)),
                       static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
        }
    }
    return narrow;
}

} // namespace

int WideCharToMultiByte(const char16_t* wide, int wideLength, char* narrow, int narrowCapacity) {
    if (wideLength <= 0 || narrowCapacity < 0) {
        sim::SetLastError(kErrorInvalidParameter);
        return 0;
    }
    const std::string converted = ToUtf8(wide, wideLength);
    const auto length = static_cast<int>(converted.size());
    if (narrowCapacity == 0) {
        return length;
    }
    if (length > narrowCapacity) {
        sim::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    converted.copy(narrow, converted.size());
    return length;
}

} // namespace platform
