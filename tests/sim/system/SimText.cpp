#include "platform/Text.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <string>

namespace platform {
namespace {

constexpr long kErrorInvalidParameter = 87;

void AppendUtf8(std::string& narrow, char32_t code) {
    const int continuations = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    // The lead byte: the code itself, or 110x xxxx, 1110 xxxx or 1111 0xxx.
    narrow += static_cast<char>((continuations == 0 ? 0 : 0xFF00 >> (continuations + 1)) |
                                code >> (6 * continuations));
    for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
        narrow += static_cast<char>(0x80 | (code >> shift & 0x3F));
    }
}

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
        AppendUtf8(narrow, code);
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
