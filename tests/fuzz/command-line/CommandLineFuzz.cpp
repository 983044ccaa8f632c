// The process's command line as the user or a shortcut wrote it: the program name is skipped, the
// rest split into six tokens, as start-up does.
#include "Expect.h"
#include "app/CommandLine.h"
#include "sim/system/SimMachine.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool IsSkippedBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= 0x20;
}

// The program name runs to its closing quote, or to the first character of code 0x20 or less.
std::string_view ModelArguments(std::string_view line) {
    std::size_t nameEnd = 0;
    if (line.starts_with('"')) {
        const std::size_t quote = line.find('"', 1);
        nameEnd = quote == std::string_view::npos ? line.size() : quote + 1;
    } else {
        nameEnd = static_cast<std::size_t>(
            std::ranges::find_if(line, [](char c) { return static_cast<unsigned char>(c) <= 0x20; }) -
            line.begin());
    }
    const auto rest = line.substr(nameEnd);
    return rest.substr(
        static_cast<std::size_t>(std::ranges::find_if_not(rest, IsSkippedBlank) - rest.begin()));
}

// Every piece between spaces, or with a quote in the text the system's words; the last six are
// t1 … t6, missing ones empty at the front.
CommandLineTokens ModelTokens(std::string_view text) {
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == ' ') {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    if (text.find('"') != std::string_view::npos) {
        pieces = platform::sim::CommandLineToArgvW(text);
    }
    CommandLineTokens tokens;
    const std::size_t taken = std::min<std::size_t>(pieces.size(), tokens.size());
    std::copy(pieces.end() - static_cast<std::ptrdiff_t>(taken), pieces.end(),
              tokens.end() - static_cast<std::ptrdiff_t>(taken));
    return tokens;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = BytesOf(data, size);
    const std::string arguments = ExtractCommandLine(line);
    Expect(arguments == ModelArguments(line), "the arguments are the line after the name and its blanks");

    const CommandLineTokens tokens = SplitCommandLine(arguments);
    Expect(tokens == ModelTokens(arguments), "the tokens are the last six pieces or words");
    if (arguments.find('"') != std::string::npos) {
        Expect(std::ranges::none_of(tokens,
                                    [](const std::string& t) { return t.find('"') != std::string::npos; }) ||
                   arguments.find("\\\"") != std::string::npos || arguments.find("\"\"") != std::string::npos,
               "a literal quote comes only from a backslash or a doubled quote");
        return 0;
    }

    // Joined back with single spaces from the first token present, they give the end of the text.
    const auto first = std::ranges::find_if(tokens, [](const std::string& t) { return !t.empty(); });
    std::string joined;
    for (auto token = first; token != tokens.end(); ++token) {
        joined += (token == first ? "" : " ") + *token;
    }
    Expect(std::string_view(arguments).ends_with(joined), "the tokens joined back end the text");
    Expect(
        std::ranges::none_of(tokens, [](const std::string& t) { return t.find(' ') != std::string::npos; }),
        "no token holds a space");
    return 0;
}
