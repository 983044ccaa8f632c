#include "app/CommandLine.h"
#include "entry/OneUpdater.h"
#include "entry/UpdaterApp.h"
#include "platform/Process.h"

namespace {
// Never destroyed: a transfer worker still copying when the window closes keeps using it until
// the process ends.
UpdaterContext& context = *new UpdaterContext;
UpdaterApp theApp(context);
} // namespace

int main() {
    // The poll probes every removable drive: an empty card slot must answer with an error, not with
    // the system's "No Disk" box, which would hold the window until someone answers it.
    platform::SetErrorMode(SEM_FAILCRITICALERRORS);
    // The program is often run from Downloads, where anyone may have left a DLL. Only Known DLLs are
    // imported at start; every other DLL, and all that those import, is loaded after this.
    if (!platform::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        platform::SetDllDirectoryA(""); // the current directory at least
    }
    // Wine's uxtheme delay-loads msimg32 with a search of its own that ignores the one above; loaded
    // from system32 now, it is found already there.
    platform::LoadLibraryExA("msimg32.dll", LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!BecomeTheOnlyUpdater()) {
        return static_cast<int>(RunOutcome::AnotherUpdater);
    }
    return theApp.Run(ExtractCommandLine(platform::GetCommandLineA()));
}
