// After the shape of Wine's CommandLineToArgvW (shell32): quotes are counted, a quoted part's
// opening one included; the third of a run is a literal quote and leaves the part, and a count of
// two after a run closes it.
#include "sim/system/SimMachine.h"

namespace platform::sim {

std::vector<std::string> CommandLineToArgvW(std::string_view arguments) {
    std::vector<std::string> argv;
    int quotes = 0;
    std::size_t backslashes = 0;
    bool afterBlank = true;
    for (std::size_t s = 0; s < arguments.size(); ++s) {
        const char c = arguments[s];
        const bool blank = quotes == 0 && (c == ' ' || c == '\t');
        const bool starts = afterBlank && !blank;
        afterBlank = blank;
        if (blank) {
            backslashes = 0;
            continue;
        }
        if (starts) {
            argv.emplace_back();
        }
        std::string& d = argv.back();
        if (c != '"') {
            d += c;
            backslashes = c == '\\' ? backslashes + 1 : 0;
            continue;
        }
        d.resize(d.size() - backslashes / 2 - backslashes % 2);
        if (backslashes % 2 == 1) {
            d += '"';
        } else {
            ++quotes;
        }
        backslashes = 0;
        for (; s + 1 < arguments.size() && arguments[s + 1] == '"'; ++s) {
            if (++quotes == 3) {
                d += '"';
                quotes = 0;
            }
        }
        quotes = quotes == 2 ? 0 : quotes;
    }
    return argv;
}

} // namespace platform::sim
