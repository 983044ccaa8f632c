#include "platform/Text.h"
#include "sim/system/SimMachineState.h"

#include "platform/Errors.h"

#include <array>

namespace platform {
namespace {

constexpr long kErrorInvalidParameter = 87;

// Characters of Windows-1252 bytes 0x80..0x9F; the five bytes it leaves undefined map to the
// control character of the same value, as the system's table does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ToWindows1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

int WideCharToMultiByte(const char16_t* wide, int wideLength, char* narrow, int narrowCapacity) {
    if (wideLength <= 0 || narrowCapacity < 0) {
        sim::SetLastError(kErrorInvalidParameter);
        return 0;
    }
    if (narrowCapacity == 0) {
        return wideLength;
    }
    for (int i = 0; i < wideLength; ++i) {
        if (i == narrowCapacity) {
            sim::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        narrow[i] = ToWindows1252(wide[i]);
    }
    return wideLength;
}

} // namespace platform
