#pragma once
// Reads the program's resource script, so that simulated dialogs start from the same templates as
// the real program. Understands the statements the script uses (DIALOG/DIALOGEX with CONTROL and
// the text, button and icon statements, STRINGTABLE, ICON, BITMAP) and skips other resources.
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

struct ControlTemplate {
    int id = 0;
    std::string className; // "Static", "Button", or as written in a CONTROL statement
    std::string text;      // empty when the statement names a resource instead of a text
    int resourceId = 0;    // the icon or bitmap a picture control shows; 0 for none
    unsigned style = 0;
    unsigned exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0; // dialog units
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    unsigned style = 0;
    unsigned exStyle = 0;
    int width = 0, height = 0;             // dialog units
    std::vector<ControlTemplate> controls; // in tab order
};

struct ResourceScript {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::string> strings;
    std::set<int> icons;
    std::set<int> bitmaps;
};

using SymbolTable = std::map<std::string, long, std::less<>>;

// The `#define NAME number` lines of a resource header.
SymbolTable ParseResourceHeader(std::string_view text);

// Throws std::runtime_error naming the line for a statement, symbol or style it cannot read.
ResourceScript ParseResourceScript(std::string_view text, const SymbolTable& symbols);

// The value of a window, dialog, static, button or progress-bar style name; throws for an unknown one.
unsigned StyleBit(std::string_view name);

// The script named by UPDATER_RESOURCE_SCRIPT with the ids of resource.h beside it, read once.
const ResourceScript& ProgramResources();

} // namespace platform::sim
