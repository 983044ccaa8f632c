#include "app/CommandLine.h"

namespace {

bool IsBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 0x01 && code <= 0x20;
}

std::string_view::size_type EndOfProgramName(std::string_view line) {
    if (!line.empty() && line.front() == '"') {
        const auto closingQuote = line.find('"', 1);
        return closingQuote == std::string_view::npos ? line.size() : closingQuote + 1;
    }
    std::string_view::size_type end = 0;
    while (end < line.size() && static_cast<unsigned char>(line[end]) > 0x20) {
        ++end;
    }
    return end;
}

} // namespace

std::string ExtractCommandLine(std::string_view processCommandLine) {
    auto rest = processCommandLine.substr(EndOfProgramName(processCommandLine));
    while (!rest.empty() && IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    return std::string(rest);
}

CommandLineTokens SplitCommandLine(std::string_view text) {
    CommandLineTokens tokens;
    for (int cut = 5; cut >= 0; --cut) {
        const auto lastSpace = text.rfind(' ');
        if (lastSpace == std::string_view::npos) {
            tokens[cut] = std::string(text);
            text = {};
        } else {
            tokens[cut] = std::string(text.substr(lastSpace + 1));
            text = text.substr(0, lastSpace);
        }
    }
    return tokens;
}
