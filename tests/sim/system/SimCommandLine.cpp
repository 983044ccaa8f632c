// Written after the shape of Wine's CommandLineToArgvW (shell32): a run of quotes is counted, the
// count of a quoted part's opening included; each third quote of a run is a literal one and leaves
// the quoted part, and a count of two at the end of a run closes it.
#include "sim/system/SimMachine.h"

namespace platform::sim {

std::vector<std::string> CommandLineToArgvW(std::string_view arguments) {
    std::vector<std::string> argv;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t s = 0;
    while (s < arguments.size() && blank(arguments[s])) {
        ++s;
    }
    if (s < arguments.size()) {
        argv.emplace_back();
    }
    int quotes = 0;
    std::size_t backslashes = 0;
    while (s < arguments.size()) {
        const char c = arguments[s];
        if (blank(c) && quotes == 0) {
            while (s < arguments.size() && blank(arguments[s])) {
                ++s;
            }
            if (s < arguments.size()) {
                argv.emplace_back();
            }
            backslashes = 0;
        } else if (c == '\\') {
            argv.back() += c;
            ++s;
            ++backslashes;
        } else if (c == '"') {
            std::string& d = argv.back();
            d.resize(d.size() - backslashes / 2 - backslashes % 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                d += '"';
            }
            ++s;
            backslashes = 0;
            for (; s < arguments.size() && arguments[s] == '"'; ++s) {
                if (++quotes == 3) {
                    d += '"';
                    quotes = 0;
                }
            }
            if (quotes == 2) {
                quotes = 0;
            }
        } else {
            argv.back() += c;
            ++s;
            backslashes = 0;
        }
    }
    return argv;
}

} // namespace platform::sim
