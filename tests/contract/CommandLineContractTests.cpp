// The program's reading of a command line that holds a double quote is the system's own.
#include "ContractMachine.h"
#include "app/CommandLine.h"

namespace {

using CommandLineContract = ContractMachine;

TEST_F(CommandLineContract, QuotedWordsAreThoseOfCommandLineToArgvW) {
    const char* const lines[] = {
        R"("D:\My Firmware\r5xx 1.1.6E.rom" 1.1.6E)",
        R"(a "" b)",
        R"("")",
        "\"tab\tinside\"\tafter\t",
        R"(a\\\"b c\\"d e" f\\\\"g")",
        R"(x\\\y \\\\)",
        R"(trailing\)",
        R"(unclosed "runs to the end  )",
        R"(in"side"word)",
        R"("a""b" """ """" "\"" \""")",
        R"(ends "in a doubled"")",
        R"(  lead   and trail  ")",
        R"(\"""\" "\\" "\\\"")",
    };
    for (const char* line : lines) {
        EXPECT_EQ(SplitQuotedWords(line), CommandLineToArgvW(line)) << "line: [" << line << "]";
    }
}

} // namespace
