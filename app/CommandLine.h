#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// The part of the process's command line after the program name, with the blanks (0x01–0x20)
// that follow the name skipped. A quoted name without its closing quote leaves nothing.
std::string ExtractCommandLine(std::string_view processCommandLine);

// The words of `text` as Windows' CommandLineToArgvW cuts the words after a program name: blanks
// (space, tab) part words outside quotes; 2n backslashes before a quote give n and the quote opens
// or closes a quoted part, 2n+1 give n and a literal quote; a quote doubled inside a quoted part is
// a literal one and ends the part; other backslashes are literal; an unclosed quote runs to the end.
std::vector<std::string> SplitQuotedWords(std::string_view text);

// The six tokens t1…t6 taken from the right-hand end: without a double quote in `text`, pieces cut
// at single spaces; with one, its quoted words. Missing ones stay empty and whatever stands left of
// t1 is ignored.
using CommandLineTokens = std::array<std::string, 6>;
CommandLineTokens SplitCommandLine(std::string_view text);
