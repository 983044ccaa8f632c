#include "discovery/VersionFile.h"

#include "discovery/WideText.h"
#include "platform/File.h"

#include <vector>

namespace {

constexpr std::size_t kShortestPath = 3;
constexpr std::size_t kShortestUsableVersion = 2;
constexpr std::string_view kVersionTag = "<firmver>";

// Steps shared by both loads: open, measure, check the limit, and make a fresh zeroed buffer of
// L + 1 bytes. Returns L, or none (buffer untouched) when the file is not to be loaded.
std::optional<std::uint32_t> PrepareLoad(const std::string& path, platform::File& file, DeviceText& text) {
    if (path.size() < kShortestPath || !file.Open(path, platform::File::Mode::ReadShared)) {
        return std::nullopt;
    }
    const std::uint64_t length = file.GetLength();
    if (length > kMaxTaggedTextBytes) {
        return std::nullopt;
    }
    text.assign(length + 1, '\0');
    return static_cast<std::uint32_t>(length);
}

// Position of `what` in `text` from `from`, or -1; a start past the end finds nothing.
long long Find(std::string_view text, std::string_view what, long long from) {
    if (from < 0 || static_cast<std::size_t>(from) > text.size()) {
        return -1;
    }
    const std::size_t at = text.find(what, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<long long>(at);
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

// The short version file's bytes, NUL bytes dropped.
std::string ShortVersionFrom(platform::File& file, std::uint32_t length) {
    std::vector<char> bytes(length + 1, '\0');
    const std::uint32_t read = file.Read(bytes.data(), length);
    std::string version;
    for (std::uint32_t i = 0; i < read; ++i) {
        if (bytes[i] != '\0') {
            version += bytes[i];
        }
    }
    return version;
}

} // namespace

bool LoadDeviceTextWide(const std::string& path, DeviceText& text) {
    try {
        platform::File file;
        const auto length = PrepareLoad(path, file, text);
        if (!length) {
            return false;
        }
        std::vector<char> bytes(*length + 1, '\0');
        if (file.Read(bytes.data(), *length) < *length) {
            return false;
        }
        text = AnsiFromUtf16Bytes(bytes.data(), *length);
        return true;
    } catch (const platform::FileError&) {
        return false;
    }
}

bool LoadDeviceTextNarrow(const std::string& path, DeviceText& text) {
    try {
        platform::File file;
        const auto length = PrepareLoad(path, file, text);
        return length && file.Read(text.data(), *length) == *length;
    } catch (const platform::FileError&) {
        return false;
    }
}

std::string ExtractTaggedVersion(const std::string& path, DeviceText& text) {
    const std::string version = TaggedVersionIn(TextIn(text));
    if (version.size() >= kShortestUsableVersion) {
        return version;
    }
    LoadDeviceTextNarrow(path, text); // whatever it leaves is searched, as the 8-bit reading
    return TaggedVersionIn(TextIn(text));
}

std::optional<std::string> ReadInstalledVersion(const std::string& path, DeviceText& text) {
    if (path.size() < kShortestPath) {
        return std::nullopt;
    }
    try {
        platform::File file;
        if (!file.Open(path, platform::File::Mode::ReadShared)) {
            return std::nullopt;
        }
        const std::uint64_t length = file.GetLength();
        if (length <= kMaxShortVersionBytes) {
            return ShortVersionFrom(file, static_cast<std::uint32_t>(length));
        }
        file.Close();
        if (!LoadDeviceTextWide(path, text)) {
            return std::nullopt;
        }
        return ExtractTaggedVersion(path, text);
    } catch (const platform::FileError&) {
        // A player that cannot be read this time shows nothing, as one whose file cannot be opened.
        return std::nullopt;
    }
}

std::optional<std::string> ReadInstalledVersion(const std::string& path) {
    DeviceText text;
    return ReadInstalledVersion(path, text);
}
