#include "app/CommandLine.h"

#include <algorithm>
#include <utility>

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

std::vector<std::string> SplitQuotedWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool begun = false; // a quote begins a word too, which may stay empty
    bool quoted = false;
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++backslashes;
            begun = true;
            continue;
        }
        word.append(c == '"' ? backslashes / 2 : backslashes, '\\');
        const bool escaped = c == '"' && backslashes % 2 == 1;
        backslashes = 0;
        if (c == '"' && !escaped) {
            if (quoted && text.substr(i + 1).starts_with('"')) {
                word += '"';
                ++i;
                quoted = false;
            } else {
                quoted = !quoted;
            }
            begun = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (begun) {
                words.push_back(std::exchange(word, {}));
                begun = false;
            }
        } else {
            word += c;
            begun = true;
        }
    }
    word.append(backslashes, '\\');
    if (begun) {
        words.push_back(std::move(word));
    }
    return words;
}

CommandLineTokens SplitCommandLine(std::string_view text) {
    CommandLineTokens tokens;
    if (text.find('"') != std::string_view::npos) {
        // A quote cannot stand in a Windows file name: such a line is read as Windows reads it.
        const std::vector<std::string> words = SplitQuotedWords(text);
        const std::size_t taken = std::min(words.size(), tokens.size());
        std::copy(words.end() - static_cast<std::ptrdiff_t>(taken), words.end(),
                  tokens.end() - static_cast<std::ptrdiff_t>(taken));
        return tokens;
    }
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
