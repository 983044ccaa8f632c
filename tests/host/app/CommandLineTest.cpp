#include "app/CommandLine.h"
#include "app/UpdaterContext.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    CommandLineTokens expected;
};

TEST(SplitCommandLine, CutsSixTokensFromTheRight) {
    const SplitCase cases[] = {
        {"", {"", "", "", "", "", ""}},
        {"imgA verA imgB verB imgC verC", {"imgA", "verA", "imgB", "verB", "imgC", "verC"}},
        {"x imgA verA imgB verB imgC verC", {"imgA", "verA", "imgB", "verB", "imgC", "verC"}},
        {"far left x imgA verA imgB verB imgC verC", {"imgA", "verA", "imgB", "verB", "imgC", "verC"}},
        {"imgA verA imgB verB imgC verC ", {"verA", "imgB", "verB", "imgC", "verC", ""}},
        {"a b c d", {"", "", "a", "b", "c", "d"}},
        {"only", {"", "", "", "", "", "only"}},
        {"a  b", {"", "", "", "a", "", "b"}},
        {" ", {"", "", "", "", "", ""}},
        {"C:\\My Images\\one.rom 1.1.6E b 2.0.1E c 3.0.1E",
         {"Images\\one.rom", "1.1.6E", "b", "2.0.1E", "c", "3.0.1E"}},
        // Without a quote only the space separates: a tab is an ordinary character.
        {"p1 v1\tx p2 v2 p3 v3", {"p1", "v1\tx", "p2", "v2", "p3", "v3"}},
        // With one, the line is read as Windows reads it: blanks collapse, a tab separates.
        {"a\tb c \"d e\" f g h", {"b", "c", "d e", "f", "g", "h"}},
        {"\"C:\\My Images\\one.rom\" 1.1.6E b 2.0.1E c 3.0.1E",
         {"C:\\My Images\\one.rom", "1.1.6E", "b", "2.0.1E", "c", "3.0.1E"}},
        {"\"\"  v1 \"\" v2", {"", "", "", "v1", "", "v2"}},
        {"\"D:\\Firm ware\\\" 1.1.6E", {"", "", "", "", "", "D:\\Firm ware\" 1.1.6E"}},
        {"\"unclosed x y", {"", "", "", "", "", "unclosed x y"}},
        {"in\"side\"word trailing\\", {"", "", "", "", "insideword", "trailing\\"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.expected) << "line: [" << c.line << "]";
    }
}

struct ExtractCase {
    const char* processLine;
    const char* expected;
};

TEST(ExtractCommandLine, SkipsProgramNameAndFollowingBlanks) {
    const ExtractCase cases[] = {
        {"updater.exe a b c d e f", "a b c d e f"},
        {"\"C:\\Program Files\\Tolvo Firmware Updater.exe\" a b c d e f", "a b c d e f"},
        {"\"C:\\Program Files\\Tolvo Firmware Updater.exe\"a b", "a b"},
        {"\"C:\\no closing quote.exe a b c", ""},
        {"\"", ""},
        {"updater.exe", ""},
        {"", ""},
        {"updater.exe \t\x01\x1f a b ", "a b "},
        {"updater.exe\ta", "a"},
        {"\"x.exe\"   \t", ""},
        {"up\x7f.exe a", "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractCommandLine(c.processLine), c.expected) << "process line: [" << c.processLine << "]";
    }
}

TEST(ExtractCommandLine, TreatsCharactersAboveAsciiAsPartOfTheName) {
    // 8-bit ANSI characters are signed chars here: they must not count as blanks.
    EXPECT_EQ(ExtractCommandLine("Pr\xe9sentation.exe a"), "a");
    EXPECT_EQ(ExtractCommandLine("x.exe \xe9 a"), "\xe9 a");
}

} // namespace
