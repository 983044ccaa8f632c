#include "app/CommandLine.h"
#include "app/UpdaterApp.h"
#include "platform/Process.h"

namespace {
// Never destroyed: a transfer worker still copying when the window closes keeps using it until
// the process ends.
UpdaterContext& context = *new UpdaterContext;
UpdaterApp theApp(context);
} // namespace

int main() {
    // The program is often run from Downloads, where anyone may have left a DLL. Only Known DLLs are
    // imported at start; every other DLL, and all that those import, is loaded after this.
    if (!platform::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        platform::SetDllDirectoryA(""); // the current directory at least
    }
    return theApp.Run(ExtractCommandLine(platform::GetCommandLineA()));
}
