// The tag search alone, on any text, NUL bytes included.
#include "Expect.h"
#include "TaggedVersionModel.h"
#include "discovery/VersionFileSteps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = BytesOf(data, size);
    const std::string version = SearchVersionTag(text);
    Expect(version == ModelTaggedVersion(text), "the version is the text the layout puts between the tags");
    return 0;
}
