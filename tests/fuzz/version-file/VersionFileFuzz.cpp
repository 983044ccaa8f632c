// The player's version file as whole bytes, read as the version reader reads a file that holds
// still: the short form up to 20 bytes, tagged UTF-16LE text up to 16000 (a longer file is not
// loaded), then the 8-bit reading when that gives no usable version.
#include "Expect.h"
#include "TaggedVersionModel.h"
#include "Utf16Units.h"
#include "discovery/VersionFileSteps.h"

#include <string>

namespace {

// The units in the program's code page, UTF-8: decoded again, the text gives back each unit's
// character, and the buffer has room for three bytes a unit.
void CheckWideText(std::string_view bytes, const DeviceText& text) {
    Expect(text.size() == 3 * ((bytes.size() + 1) / 2) + 1 && text.back() == '\0',
           "three bytes a unit and a NUL");
    Expect(CodePointsOfUtf8(TextIn(text)) == CodePointsOfUnits(Utf16UnitsOf(bytes)),
           "every unit before the first NUL unit, converted whole");
}

// Form 3 as LoadDeviceTextNarrow leaves a file read whole: the bytes and a NUL.
DeviceText NarrowText(std::string_view bytes) {
    DeviceText text(bytes.begin(), bytes.end());
    text.push_back('\0');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = BytesOf(data, size);
    if (bytes.size() <= kMaxShortVersionBytes) {
        std::string expected(bytes);
        std::erase(expected, '\0');
        Expect(ShortVersionText(bytes) == expected, "a short file is its bytes without NUL");
        return 0;
    }
    if (bytes.size() > kMaxTaggedTextBytes) {
        return 0; // never loaded
    }
    const DeviceText wide = WideDeviceText(bytes);
    CheckWideText(bytes, wide);
    const std::string fromWide = SearchVersionTag(TextIn(wide));
    Expect(fromWide == ModelTaggedVersion(TextIn(wide)), "the UTF-16 reading's version");
    if (fromWide.size() < kShortestUsableVersion) {
        const DeviceText narrow = NarrowText(bytes);
        Expect(SearchVersionTag(TextIn(narrow)) == ModelTaggedVersion(TextIn(narrow)),
               "else the 8-bit reading's");
    }
    return 0;
}
