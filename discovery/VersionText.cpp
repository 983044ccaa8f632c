#include "discovery/VersionText.h"

#include "discovery/WideText.h"

namespace {

constexpr std::size_t kShortestUsableVersion = 2;
constexpr std::string_view kVersionTag = "<firmver>";

// Position of `what` in `text` from `from`, or -1; a start past the end finds nothing.
long long Find(std::string_view text, std::string_view what, long long from) {
    if (from < 0 || static_cast<std::size_t>(from) > text.size()) {
        return -1;
    }
    const std::size_t at = text.find(what, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<long long>(at);
}

} // namespace

std::string ShortVersionText(std::string_view bytes) {
    std::string version;
    for (const char byte : bytes) {
        if (byte != '\0') {
            version += byte;
        }
    }
    return version;
}

DeviceText WideDeviceText(std::string_view bytes) {
    return AnsiFromUtf16Bytes(bytes.data(), bytes.size());
}

std::string TaggedVersionIn(std::string_view text) {
    const long long tag = Find(text, kVersionTag, 0);
    const long long open = Find(text, ">", tag + 1);
    const long long close = Find(text, "<", open + 1);
    const long long start = open + 1;
    const long long count = close - open - 1;
    if (count <= 0 || static_cast<std::size_t>(start) >= text.size()) {
        return {};
    }
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

std::string TaggedVersionOf(DeviceText& text, const std::function<void(DeviceText&)>& reloadNarrow) {
    const std::string version = TaggedVersionIn(TextIn(text));
    if (version.size() >= kShortestUsableVersion) {
        return version;
    }
    reloadNarrow(text);
    return TaggedVersionIn(TextIn(text));
}
