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
    return theApp.Run(ExtractCommandLine(platform::GetCommandLineA()));
}
