#include "sim/window/ResourceScript.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace platform::sim {
namespace {

const std::map<std::string_view, unsigned>& StyleTable() {
    static const std::map<std::string_view, unsigned> table = {
        {"WS_OVERLAPPED", 0x00000000u},
        {"WS_POPUP", 0x80000000u},
        {"WS_CHILD", 0x40000000u},
        {"WS_MINIMIZE", 0x20000000u},
        {"WS_VISIBLE", 0x10000000u},
        {"WS_DISABLED", 0x08000000u},
        {"WS_CLIPSIBLINGS", 0x04000000u},
        {"WS_CLIPCHILDREN", 0x02000000u},
        {"WS_MAXIMIZE", 0x01000000u},
        {"WS_CAPTION", 0x00C00000u},
        {"WS_BORDER", 0x00800000u},
        {"WS_DLGFRAME", 0x00400000u},
        {"WS_VSCROLL", 0x00200000u},
        {"WS_HSCROLL", 0x00100000u},
        {"WS_SYSMENU", 0x00080000u},
        {"WS_THICKFRAME", 0x00040000u},
        {"WS_GROUP", 0x00020000u},
        {"WS_TABSTOP", 0x00010000u},
        {"WS_MINIMIZEBOX", 0x00020000u},
        {"WS_MAXIMIZEBOX", 0x00010000u},
        {"DS_3DLOOK", 0x0004u},
        {"DS_FIXEDSYS", 0x0008u},
        {"DS_SETFONT", 0x0040u},
        {"DS_MODALFRAME", 0x0080u},
        {"DS_CENTER", 0x0800u},
        {"DS_SHELLFONT", 0x0048u},
        {"SS_LEFT", 0x0000u},
        {"SS_CENTER", 0x0001u},
        {"SS_RIGHT", 0x0002u},
        {"SS_ICON", 0x0003u},
        {"SS_BITMAP", 0x000Eu},
        {"SS_NOPREFIX", 0x0080u},
        {"SS_CENTERIMAGE", 0x0200u},
        {"SS_SUNKEN", 0x1000u},
        {"BS_PUSHBUTTON", 0x0000u},
        {"BS_DEFPUSHBUTTON", 0x0001u},
        {"PBS_SMOOTH", 0x0001u},
        {"PBS_VERTICAL", 0x0004u},
        {"WS_EX_DLGMODALFRAME", 0x0001u},
        {"WS_EX_TOPMOST", 0x0008u},
        {"WS_EX_TRANSPARENT", 0x0020u},
        {"WS_EX_TOOLWINDOW", 0x0080u},
        {"WS_EX_WINDOWEDGE", 0x0100u},
        {"WS_EX_CLIENTEDGE", 0x0200u},
        {"WS_EX_CONTEXTHELP", 0x0400u},
        {"WS_EX_STATICEDGE", 0x20000u},
        {"WS_EX_APPWINDOW", 0x40000u},
    };
    return table;
}

// Ids the script takes from the platform's headers.
const std::map<std::string_view, long>& PlatformIds() {
    static const std::map<std::string_view, long> ids = {
        {"IDOK", 1},     {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
        {"IDIGNORE", 5}, {"IDYES", 6},    {"IDNO", 7},
    };
    return ids;
}

struct Token {
    enum Kind { Word, String, Punct } kind;
    std::string value;
};
using Tokens = std::vector<Token>;

struct Line {
    int number;
    Tokens tokens;
};

[[noreturn]] void Fail(int line, const std::string& what) {
    throw std::runtime_error("resource script line " + std::to_string(line) + ": " + what);
}

std::string RemoveComment(const std::string& line) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            inString = !inString;
        } else if (!inString && line.compare(i, 2, "//") == 0) {
            return line.substr(0, i);
        }
    }
    return line;
}

// Texts keep the script's escapes: "" for a quote and C-style backslash escapes.
Tokens Tokenize(const std::string& text, int line) {
    Tokens tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '"') {
            std::string value;
            for (++i;; ++i) {
                if (i >= text.size()) {
                    Fail(line, "unterminated text");
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        value += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\\' && i + 1 < text.size()) {
                    const char escaped = text[++i];
                    value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
                    continue;
                }
                value += text[i];
            }
            tokens.push_back({Token::String, value});
        } else if (c == ',' || c == '|' || c == '(' || c == ')' || c == '{' || c == '}') {
            tokens.push_back({Token::Punct, std::string(1, c)});
            ++i;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) &&
                   std::string_view(",|(){}\"").find(text[i]) == std::string_view::npos) {
                ++i;
            }
            tokens.push_back({Token::Word, text.substr(start, i - start)});
        }
    }
    return tokens;
}

// Logical lines: a line that ends with ',' or '|' goes on in the next one.
std::vector<Line> ReadLines(std::string_view text) {
    std::vector<Line> lines;
    std::istringstream input{std::string(text)};
    std::string raw;
    int number = 0;
    bool continues = false;
    while (std::getline(input, raw)) {
        ++number;
        const std::string content = RemoveComment(raw);
        if (!continues && content.find_first_not_of(" \t\r") != std::string::npos &&
            content[content.find_first_not_of(" \t\r")] == '#') {
            continue;
        }
        Tokens tokens = Tokenize(content, number);
        if (tokens.empty()) {
            continue;
        }
        if (continues) {
            lines.back().tokens.insert(lines.back().tokens.end(), tokens.begin(), tokens.end());
        } else {
            lines.push_back({number, std::move(tokens)});
        }
        const Token& last = lines.back().tokens.back();
        continues = last.kind == Token::Punct && (last.value == "," || last.value == "|");
    }
    return lines;
}

std::optional<long> ParseNumber(const std::string& word) {
    std::string digits = word;
    while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' || digits.back() == 'U')) {
        digits.pop_back();
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    std::size_t used = 0;
    try {
        const long value = std::stol(digits, &used, 0);
        return used == digits.size() ? std::optional<long>(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

class Evaluator {
public:
    Evaluator(const SymbolTable& symbols, int line) : symbols_(symbols), line_(line) {}

    long Number(const Tokens& tokens) const {
        long sign = 1;
        std::size_t i = 0;
        if (!tokens.empty() && tokens[0].kind == Token::Word && tokens[0].value == "-") {
            sign = -1;
            i = 1;
        }
        if (tokens.size() != i + 1 || tokens[i].kind != Token::Word) {
            Fail(line_, "expected a number or an id");
        }
        return sign * Value(tokens[i].value);
    }

    // Terms joined by '|'; NOT clears a bit of what is there already.
    unsigned Style(const Tokens& tokens, unsigned base) const {
        unsigned style = base;
        bool negate = false;
        for (const Token& token : tokens) {
            if (token.kind == Token::Punct &&
                (token.value == "|" || token.value == "(" || token.value == ")")) {
                continue;
            }
            if (token.kind != Token::Word) {
                Fail(line_, "unexpected text in a style");
            }
            if (token.value == "NOT") {
                negate = true;
                continue;
            }
            const auto bit = static_cast<unsigned>(Value(token.value));
            style = negate ? (style & ~bit) : (style | bit);
            negate = false;
        }
        return style;
    }

private:
    long Value(const std::string& word) const {
        if (const auto number = ParseNumber(word)) {
            return *number;
        }
        if (const auto symbol = symbols_.find(word); symbol != symbols_.end()) {
            return symbol->second;
        }
        if (const auto id = PlatformIds().find(word); id != PlatformIds().end()) {
            return id->second;
        }
        if (const auto style = StyleTable().find(word); style != StyleTable().end()) {
            return static_cast<long>(style->second);
        }
        Fail(line_, "unknown name " + word);
    }

    const SymbolTable& symbols_;
    int line_;
};

// Splits a statement's operands at the commas between them.
std::vector<Tokens> Operands(const Tokens& tokens, std::size_t from) {
    std::vector<Tokens> operands(1);
    for (std::size_t i = from; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Punct && tokens[i].value == ",") {
            operands.emplace_back();
        } else {
            operands.back().push_back(tokens[i]);
        }
    }
    return operands;
}

bool IsWord(const Token& token, std::string_view word) {
    return token.kind == Token::Word && token.value == word;
}
bool IsBlockStart(const Line& line) {
    return IsWord(line.tokens[0], "BEGIN") || line.tokens[0].value == "{";
}
bool IsBlockEnd(const Line& line) {
    return IsWord(line.tokens[0], "END") || line.tokens[0].value == "}";
}

struct StatementKind {
    std::string_view keyword;
    std::string_view className;
    unsigned typeStyle;     // kept whatever the statement says
    unsigned defaultExtras; // dropped once the statement gives a style of its own, as windres does
    bool hasText;
    bool hasSize;
};

const StatementKind* FindStatement(std::string_view keyword) {
    static const StatementKind kinds[] = {
        {"LTEXT", "Static", 0x0000u, 0x00020000u, true, true},
        {"CTEXT", "Static", 0x0001u, 0x00020000u, true, true},
        {"RTEXT", "Static", 0x0002u, 0x00020000u, true, true},
        {"ICON", "Static", 0x0003u, 0, true, false},
        {"PUSHBUTTON", "Button", 0x0000u, 0x00010000u, true, true},
        {"DEFPUSHBUTTON", "Button", 0x0001u, 0x00010000u, true, true},
    };
    for (const auto& kind : kinds) {
        if (kind.keyword == keyword) {
            return &kind;
        }
    }
    return nullptr;
}

constexpr unsigned kChildVisible = 0x40000000u | 0x10000000u;

void ReadText(const Tokens& operand, const Evaluator& evaluate, ControlTemplate& control) {
    if (operand.size() == 1 && operand[0].kind == Token::String) {
        control.text = operand[0].value;
    } else {
        control.resourceId = static_cast<int>(evaluate.Number(operand));
    }
}

ControlTemplate ReadControl(const Line& line, const SymbolTable& symbols) {
    const Evaluator evaluate(symbols, line.number);
    const std::string& keyword = line.tokens[0].value;
    const std::vector<Tokens> operands = Operands(line.tokens, 1);
    auto number = [&](std::size_t index) { return static_cast<int>(evaluate.Number(operands.at(index))); };
    ControlTemplate control;
    if (keyword == "CONTROL") {
        if (operands.size() < 8 || operands[2].size() != 1 || operands[2][0].kind != Token::String) {
            Fail(line.number, "CONTROL needs text, id, class, style, x, y, width, height");
        }
        ReadText(operands[0], evaluate, control);
        control.id = number(1);
        control.className = operands[2][0].value;
        control.style = evaluate.Style(operands[3], kChildVisible);
        control.x = number(4), control.y = number(5), control.width = number(6), control.height = number(7);
        control.exStyle = operands.size() > 8 ? evaluate.Style(operands[8], 0) : 0;
        return control;
    }
    const StatementKind* kind = FindStatement(keyword);
    if (kind == nullptr) {
        Fail(line.number, "unknown control statement " + keyword);
    }
    const std::size_t positionCount = kind->hasSize ? 4 : 2;
    if (operands.size() < 2 + positionCount) {
        Fail(line.number, keyword + " has too few operands");
    }
    ReadText(operands[0], evaluate, control);
    control.id = number(1);
    control.className = std::string(kind->className);
    control.x = number(2), control.y = number(3);
    if (kind->hasSize) {
        control.width = number(4), control.height = number(5);
    }
    const std::size_t styleAt = 2 + positionCount;
    control.style = operands.size() > styleAt
                        ? evaluate.Style(operands[styleAt], kChildVisible | kind->typeStyle)
                        : kChildVisible | kind->typeStyle | kind->defaultExtras;
    control.exStyle = operands.size() > styleAt + 1 ? evaluate.Style(operands[styleAt + 1], 0) : 0;
    return control;
}

std::size_t ReadDialog(const std::vector<Line>& lines, std::size_t at, const SymbolTable& symbols,
                       ResourceScript& script) {
    const Line& header = lines[at];
    const Evaluator evaluate(symbols, header.number);
    const std::vector<Tokens> size = Operands(header.tokens, 2);
    if (size.size() < 4) {
        Fail(header.number, "a dialog needs x, y, width, height");
    }
    DialogTemplate dialog;
    dialog.id = static_cast<int>(evaluate.Number({header.tokens[0]}));
    dialog.width = static_cast<int>(evaluate.Number(size[2]));
    dialog.height = static_cast<int>(evaluate.Number(size[3]));
    std::size_t i = at + 1;
    for (; i < lines.size() && !IsBlockStart(lines[i]); ++i) {
        const Line& option = lines[i];
        const Evaluator optionEvaluate(symbols, option.number);
        const Tokens rest(option.tokens.begin() + 1, option.tokens.end());
        if (IsWord(option.tokens[0], "STYLE")) {
            dialog.style = optionEvaluate.Style(rest, 0);
        } else if (IsWord(option.tokens[0], "EXSTYLE")) {
            dialog.exStyle = optionEvaluate.Style(rest, 0);
        } else if (IsWord(option.tokens[0], "CAPTION")) {
            if (rest.size() != 1 || rest[0].kind != Token::String) {
                Fail(option.number, "CAPTION needs one text");
            }
            dialog.caption = rest[0].value;
        }
    }
    for (++i; i < lines.size() && !IsBlockEnd(lines[i]); ++i) {
        dialog.controls.push_back(ReadControl(lines[i], symbols));
    }
    if (i == lines.size()) {
        Fail(header.number, "dialog without END");
    }
    script.dialogs[dialog.id] = std::move(dialog);
    return i;
}

std::size_t ReadStringTable(const std::vector<Line>& lines, std::size_t at, const SymbolTable& symbols,
                            ResourceScript& script) {
    std::size_t i = at + 1;
    while (i < lines.size() && !IsBlockStart(lines[i])) {
        ++i;
    }
    for (++i; i < lines.size() && !IsBlockEnd(lines[i]); ++i) {
        const Line& entry = lines[i];
        const std::vector<Tokens> parts = Operands(entry.tokens, 0);
        const Token& last = entry.tokens.back();
        if (last.kind != Token::String) {
            Fail(entry.number, "a string table entry needs an id and a text");
        }
        const Tokens id(entry.tokens.begin(), entry.tokens.end() - (parts.size() > 1 ? 2 : 1));
        script.strings[static_cast<int>(Evaluator(symbols, entry.number).Number(id))] = last.value;
    }
    return i;
}

// Skips a resource's nested BEGIN … END blocks.
std::size_t SkipBlocks(const std::vector<Line>& lines, std::size_t at) {
    int depth = 0;
    for (std::size_t i = at + 1; i < lines.size(); ++i) {
        if (IsBlockStart(lines[i])) {
            ++depth;
        } else if (IsBlockEnd(lines[i]) && --depth == 0) {
            return i;
        }
    }
    return lines.size();
}

} // namespace

SymbolTable ParseResourceHeader(std::string_view text) {
    SymbolTable symbols;
    std::istringstream input{std::string(text)};
    std::string directive, name, value;
    for (std::string raw; std::getline(input, raw);) {
        std::istringstream line(raw);
        if (!(line >> directive >> name) || directive != "#define" || !(line >> value)) {
            continue;
        }
        std::string digits;
        for (const char c : value) {
            if (c != '(' && c != ')') {
                digits += c;
            }
        }
        if (const auto number = ParseNumber(digits)) {
            symbols[name] = *number;
        }
    }
    return symbols;
}

ResourceScript ParseResourceScript(std::string_view text, const SymbolTable& symbols) {
    ResourceScript script;
    const std::vector<Line> lines = ReadLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const Tokens& tokens = line.tokens;
        if (IsWord(tokens[0], "STRINGTABLE")) {
            i = ReadStringTable(lines, i, symbols, script);
        } else if (IsWord(tokens[0], "LANGUAGE")) {
            continue;
        } else if (tokens.size() >= 2 && (IsWord(tokens[1], "DIALOG") || IsWord(tokens[1], "DIALOGEX"))) {
            i = ReadDialog(lines, i, symbols, script);
        } else if (tokens.size() == 3 && (IsWord(tokens[1], "ICON") || IsWord(tokens[1], "BITMAP"))) {
            const int id = static_cast<int>(Evaluator(symbols, line.number).Number({tokens[0]}));
            (IsWord(tokens[1], "ICON") ? script.icons : script.bitmaps).insert(id);
        } else if (tokens.size() >= 2 && IsWord(tokens[1], "VERSIONINFO")) {
            i = SkipBlocks(lines, i);
        } else if (tokens.size() == 3 && tokens[2].kind == Token::String) {
            continue; // another resource taken from a file, such as the manifest
        } else {
            Fail(line.number, "unknown statement " + tokens[0].value);
        }
    }
    return script;
}

unsigned StyleBit(std::string_view name) {
    const auto found = StyleTable().find(name);
    if (found == StyleTable().end()) {
        throw std::runtime_error("unknown style " + std::string(name));
    }
    return found->second;
}

const ResourceScript& ProgramResources() {
    static const ResourceScript script = [] {
        const std::string path = UPDATER_RESOURCE_SCRIPT;
        auto read = [](const std::string& file) {
            std::ifstream input(file, std::ios::binary);
            if (!input) {
                throw std::runtime_error("cannot read " + file);
            }
            return std::string(std::istreambuf_iterator<char>(input), {});
        };
        const std::string header = path.substr(0, path.find_last_of('/') + 1) + "resource.h";
        return ParseResourceScript(read(path), ParseResourceHeader(read(header)));
    }();
    return script;
}

} // namespace platform::sim
