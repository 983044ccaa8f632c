#include "platform/Text.h"

#include <string>

namespace platform {

std::size_t wcslen(const char16_t* wide) {
    return std::char_traits<char16_t>::length(wide);
}

} // namespace platform
