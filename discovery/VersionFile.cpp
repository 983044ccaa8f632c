#include "discovery/VersionFile.h"

#include "discovery/VersionFileSteps.h"
#include "platform/File.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr std::size_t kShortestPath = 3;
constexpr std::string_view kVersionTag = "<firmver>";

// Position of `what` in `text` from `from`, or -1; a start past the end finds nothing.
long long Find(std::string_view text, std::string_view what, long long from) {
    if (from < 0 || static_cast<std::size_t>(from) > text.size()) {
        return -1;
    }
    const std::size_t at = text.find(what, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<long long>(at);
}

std::optional<SmallFile> ReadTaggedText(const std::string& path) {
    std::optional<SmallFile> file = ReadSmallFile(path, kMaxTaggedTextBytes);
    if (file && file->length > kMaxTaggedTextBytes) {
        return std::nullopt;
    }
    return file;
}

} // namespace

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

std::optional<SmallFile> ReadSmallFile(const std::string& path, std::uint64_t maxBytes) {
    if (path.size() < kShortestPath) {
        return std::nullopt;
    }
    platform::File file;
    if (!file.Open(path, platform::File::Mode::ReadShared)) {
        return std::nullopt;
    }
    SmallFile small;
    try {
        small.length = file.GetLength();
    } catch (const platform::FileError&) {
        return std::nullopt;
    }
    if (small.length > maxBytes) {
        return small;
    }
    small.bytes.assign(small.length + 1, '\0');
    const auto length = static_cast<std::uint32_t>(small.length);
    try {
        small.whole = file.Read(small.bytes.data(), length) == length;
    } catch (const platform::FileError&) {
        small.failed = true;
    }
    return small;
}

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

std::string SearchVersionTag(std::string_view text) {
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

bool LoadDeviceTextWide(const std::string& path, DeviceText& text) {
    const std::optional<SmallFile> file = ReadTaggedText(path);
    if (!file) {
        return false;
    }
    if (!file->whole) {
        text.assign(file->length + 1, '\0');
        return false;
    }
    text = WideDeviceText({file->bytes.data(), static_cast<std::size_t>(file->length)});
    return true;
}

bool LoadDeviceTextNarrow(const std::string& path, DeviceText& text) {
    std::optional<SmallFile> file = ReadTaggedText(path);
    if (!file) {
        return false;
    }
    text = std::move(file->bytes);
    return file->whole;
}

std::string ExtractTaggedVersion(const std::string& path, DeviceText& text) {
    const std::string version = SearchVersionTag(TextIn(text));
    if (version.size() >= kShortestUsableVersion) {
        return version;
    }
    // Whatever the 8-bit load leaves is searched, whether or not it read the file.
    LoadDeviceTextNarrow(path, text);
    return SearchVersionTag(TextIn(text));
}

std::optional<std::string> ReadInstalledVersion(const std::string& path, DeviceText& text) {
    const std::optional<SmallFile> file = ReadSmallFile(path, kMaxShortVersionBytes);
    if (!file) {
        return std::nullopt;
    }
    if (file->length <= kMaxShortVersionBytes) {
        // A player that cannot be read this time shows nothing, as one whose file cannot be opened.
        if (file->failed) {
            return std::nullopt;
        }
        return ShortVersionText({file->bytes.data(), static_cast<std::size_t>(file->length)});
    }
    if (!LoadDeviceTextWide(path, text)) {
        return std::nullopt;
    }
    return ExtractTaggedVersion(path, text);
}

std::optional<std::string> ReadInstalledVersion(const std::string& path) {
    DeviceText text;
    return ReadInstalledVersion(path, text);
}
