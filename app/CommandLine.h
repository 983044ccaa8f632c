#pragma once
#include <array>
#include <string>
#include <string_view>

// The part of the process's command line after the program name, with the blanks (0x01–0x20)
// that follow the name skipped. A quoted name without its closing quote leaves nothing.
std::string ExtractCommandLine(std::string_view processCommandLine);

// The six tokens t1…t6, cut off the right-hand end at single spaces; missing ones stay empty
// and whatever stands left of t1 is ignored.
using CommandLineTokens = std::array<std::string, 6>;
CommandLineTokens SplitCommandLine(std::string_view text);
