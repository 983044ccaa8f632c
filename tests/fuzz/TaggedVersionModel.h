#pragma once
// What the tag search must give, told as the file's layout rather than as the three searches: after
// "<firmver>", the text up to the next '<'; without the tag, the text after the first '>' (or from
// the start when there is none) up to the next '<'. No '<' to end it gives nothing.
#include <string>
#include <string_view>

inline std::string ModelTaggedVersion(std::string_view text) {
    constexpr std::string_view tag = "<firmver>";
    std::size_t from = 0;
    if (const std::size_t at = text.find(tag); at != std::string_view::npos) {
        from = at + tag.size();
    } else if (const std::size_t open = text.find('>'); open != std::string_view::npos) {
        from = open + 1;
    }
    const std::size_t close = text.find('<', from);
    return close == std::string_view::npos ? std::string() : std::string(text.substr(from, close - from));
}
