#include "discovery/VersionFile.h"

#include "platform/File.h"

#include <vector>

namespace {

constexpr std::size_t kShortestPath = 3;

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

// The short version file's bytes, NUL bytes dropped.
std::string ShortVersionFrom(platform::File& file, std::uint32_t length) {
    std::vector<char> bytes(length + 1, '\0');
    const std::uint32_t read = file.Read(bytes.data(), length);
    return ShortVersionText({bytes.data(), read});
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
        text = WideDeviceText({bytes.data(), *length});
        return true;
    } catch (const platform::FileError&) {
        return false;
    }
}

bool LoadDeviceTextNarrow(const std::string& path, DeviceText& text) {
    try {
        platform::File file;
        const auto length = PrepareLoad(path, file, text);
        // Form 3 is the bytes themselves; whatever arrives of them stands, even from a failing read.
        return length && file.Read(text.data(), *length) == *length;
    } catch (const platform::FileError&) {
        return false;
    }
}

std::string ExtractTaggedVersion(const std::string& path, DeviceText& text) {
    // Whatever the 8-bit load leaves is searched, whether or not it read the file.
    return TaggedVersionOf(text, [&path](DeviceText& narrow) { LoadDeviceTextNarrow(path, narrow); });
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
