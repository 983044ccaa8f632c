#include "DiscoveryFixture.h"
#include "discovery/VersionFileSteps.h"
#include "support/CallFaults.h"

#include <optional>
#include <string>

namespace {

class VersionFileTest : public DiscoveryTest {
protected:
    void SetUp() override {
        DiscoveryTest::SetUp();
        MapDrive('E');
    }
    std::optional<std::string> ReadWith(std::string_view bytes) {
        PutFile('E', "sys_conf.qtx", bytes);
        return ReadInstalledVersion("E:\\sys_conf.qtx");
    }
};

struct FormCase {
    const char* name;
    std::string bytes;
    std::optional<std::string> expected;
};

TEST_F(VersionFileTest, ReadsEachOfTheThreeForms) {
    const std::string tail = "</firmver><model>r520</model></info>";
    const FormCase cases[] = {
        {"short version file", "1.1.5E", "1.1.5E"},
        {"short file with a line break", "1.1.5E\r\n", "1.1.5E\r\n"},
        {"NUL bytes contribute nothing", std::string("1.1\0.5E\0", 8), "1.1.5E"},
        {"exactly 20 bytes is still short", "1.1.5E              ", "1.1.5E              "},
        {"empty file", "", ""},
        {"tagged UTF-16", Utf16("<info><firmver>2.0.1E" + tail), "2.0.1E"},
        {"tagged 8-bit", "<info><firmver>3.0.4K" + tail, "3.0.4K"},
        {"UTF-16 without the tag: between the first '>' and the next '<'", Utf16("<info>1.2.3E<x></x>......"),
         "1.2.3E"},
        {"UTF-16 without '>': before the first '<'", Utf16("1.2.3E<........."), "1.2.3E"},
        {"UTF-16 version under 2 characters falls back to 8-bit", Utf16("<firmver>1</firmver>"), ""},
        {"UTF-16 version of 2 characters is used", Utf16("<firmver>1E</firmver>"), "1E"},
        {"21 bytes of plain text gives no version", "1.1.5E               ", ""},
        {"tagged text over 16000 bytes is not read",
         Utf16("<firmver>1.1.5E</firmver>") + std::string(16000, ' '), std::nullopt},
        {"exactly 16000 bytes is read",
         [] {
             const std::string text = Utf16("<firmver>1.1.5E</firmver>");
             return text + std::string(16000 - text.size(), ' ');
         }(),
         "1.1.5E"},
    };
    for (const FormCase& c : cases) {
        EXPECT_EQ(ReadWith(c.bytes), c.expected) << c.name;
    }
}

TEST_F(VersionFileTest, NothingIsReadFromAFileThatCannotBeOpened) {
    EXPECT_EQ(ReadInstalledVersion("E:\\sys_conf.qtx"), std::nullopt) << "missing";
    PutFile('E', "sys_conf.qtx", "1.1.5E");
    const auto held = HeldByAnotherProgram("E:\\sys_conf.qtx");
    EXPECT_EQ(ReadInstalledVersion("E:\\sys_conf.qtx"), std::nullopt) << "held by another program";
    EXPECT_EQ(ReadInstalledVersion("E:"), std::nullopt) << "no drive located yet";
}

TEST_F(VersionFileTest, WideLoadReplacesTheTextOnlyWhenItReadsTheFile) {
    const std::string bytes = Utf16("<firmver>1.1.5E<");
    PutFile('E', "DEVCERT.DAT", bytes);
    DeviceText text = {'o', 'l', 'd', '\0'};
    ASSERT_TRUE(LoadDeviceTextWide("E:\\DEVCERT.DAT", text));
    EXPECT_EQ(text.size(), 3 * bytes.size() / 2 + 1) << "room for each unit in UTF-8, and a NUL";
    EXPECT_EQ(TextIn(text), "<firmver>1.1.5E<");

    PutFile('E', "big.dat", std::string(16001, 'a'));
    EXPECT_FALSE(LoadDeviceTextWide("E:\\big.dat", text));
    EXPECT_EQ(TextIn(text), "<firmver>1.1.5E<") << "a file over the limit leaves the text as it was";
    EXPECT_FALSE(LoadDeviceTextWide("E:\\missing.dat", text));
    EXPECT_EQ(TextIn(text), "<firmver>1.1.5E<");

    const auto unreadable = FailCalls(platform::sim::CallKind::Read, 'E', ERROR_NOT_READY);
    EXPECT_FALSE(LoadDeviceTextWide("E:\\DEVCERT.DAT", text));
    EXPECT_EQ(text, DeviceText(bytes.size() + 1, '\0')) << "a file read only in part leaves L + 1 zeros";
}

TEST_F(VersionFileTest, NarrowLoadTakesTheBytesThemselves) {
    PutFile('E', "sys_conf.qtx", std::string("<firmver>3.0.4K<\0junk", 21));
    DeviceText text;
    ASSERT_TRUE(LoadDeviceTextNarrow("E:\\sys_conf.qtx", text));
    EXPECT_EQ(text.size(), 22u);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(TextIn(text), "<firmver>3.0.4K<");
}

TEST_F(VersionFileTest, The8BitReadingReplacesTheTextOnlyWhenTheFirstVersionIsUnusable) {
    const struct {
        const char* first; // the text as the UTF-16 reading left it
        const char* file;  // the 8-bit reading of the file
        const char* version;
        const char* textAfter;
    } cases[] = {
        {"<firmver>1.1.5E<", "<firmver>9.9.9E<", "1.1.5E", "<firmver>1.1.5E<"},
        {"<firmver>1<", "<firmver>3.0.4K<", "3.0.4K", "<firmver>3.0.4K<"},
        {"<firmver>1<", "no tag at all", "", "no tag at all"}, // the second result stands
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        PutFile('E', "sys_conf.qtx", c.file);
        DeviceText text(c.first, c.first + std::char_traits<char>::length(c.first) + 1);
        EXPECT_EQ(ExtractTaggedVersion("E:\\sys_conf.qtx", text), c.version);
        EXPECT_EQ(TextIn(text), c.textAfter);
    }
}

TEST_F(VersionFileTest, ExtractionFollowsTheThreeSearches) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"<i><firmver>1.1.5E</firmver>", "1.1.5E"},
        {"<firmver>1.1.5E", ""},   // no '<' after the version
        {"abc>1.2.3E<", "1.2.3E"}, // no tag: from the first '>'
        {"1.2.3E<abc", "1.2.3E"},  // no '>': before the first '<'
        {"<firmver>", ""},         // '>' is the last character
        {"", ""},
    };
    for (const Case& c : cases) {
        DeviceText text(c.text.begin(), c.text.end());
        text.push_back('\0');
        // A path that cannot be loaded: the fallback keeps the text it has.
        EXPECT_EQ(ExtractTaggedVersion("E:\\none", text), c.expected) << c.text;
    }
}

} // namespace
