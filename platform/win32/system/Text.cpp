#include <windows.h>

#include "platform/Text.h"

namespace platform {

int WideCharToMultiByte(const char16_t* wide, int wideLength, char* narrow, int narrowCapacity) {
    return ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWCH>(wide), wideLength, narrow,
                                 narrowCapacity, nullptr, nullptr);
}

} // namespace platform
